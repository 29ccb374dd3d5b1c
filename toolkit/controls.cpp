// The simple controls: label, push button, radio button and picture box.
#include "toolkit/controls.h"

#include <QMouseEvent>
#include <QPainter>

#include <utility>

namespace tk {

Label::Label(const QString& name, QWidget* parent) : QLabel(parent), Control(Kind::Label, name) {
    setObjectName(name);
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setFocusPolicy(Qt::NoFocus);
}

void Label::SetText(const QString& text) {
    const bool changed = text != this->text();
    setText(text);
    if (auto_size_) {
        adjustSize();
    }
    if (changed) {
        emit TextChanged();
    }
}

void Label::SetAutoSize(bool auto_size) {
    auto_size_ = auto_size;
    if (auto_size_) {
        adjustSize();
    }
}

void Label::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

void Label::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
}

Button::Button(const QString& name, QWidget* parent)
    : QPushButton(parent), Control(Kind::Button, name) {
    setObjectName(name);
    setAutoDefault(false);
    connect(this, &QPushButton::clicked, this, [this] { emit Click(); });
}

// The themed look marks the focus faintly; the player must see at once which
// control a key press goes to.
void Button::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(palette().color(QPalette::Highlight), 2));
        painter.drawRoundedRect(QRectF(rect()).adjusted(2, 2, -2, -2), 2, 2);
    }
}

RadioButton::RadioButton(const QString& name, QWidget* parent)
    : QRadioButton(parent), Control(Kind::RadioButton, name) {
    setObjectName(name);
    setAutoExclusive(true);
}

void RadioButton::SetText(const QString& text) {
    setText(text);
    if (auto_size_) {
        adjustSize();
    }
}

void RadioButton::SetAutoSize(bool auto_size) {
    auto_size_ = auto_size;
    if (auto_size_) {
        adjustSize();
    }
}

void RadioButton::paintEvent(QPaintEvent* event) {
    QRadioButton::paintEvent(event);
    if (hasFocus()) {
        QPainter painter(this);
        painter.setPen(QPen(palette().color(QPalette::WindowText), 1, Qt::DashLine));
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }
}

PictureBox::PictureBox(const QString& name, QWidget* parent)
    : QWidget(parent), Control(Kind::PictureBox, name) {
    setObjectName(name);
    setFocusPolicy(Qt::NoFocus);
}

const QImage& PictureBox::Image() const {
    if (source_) {
        const_cast<PictureBox*>(this)->SetImage(std::exchange(source_, nullptr)());
    }
    return image_;
}

void PictureBox::SetImage(std::function<QImage()> source, QSize size) {
    image_ = QImage();
    source_ = std::move(source);
    if (auto_size_ && size.isValid()) {
        resize(size);
    }
    update();
}

void PictureBox::SetImage(const QImage& image) {
    source_ = nullptr;
    image_ = image;
    if (auto_size_ && !image_.isNull()) {
        resize(image_.deviceIndependentSize().toSize());
    }
    update();
}

void PictureBox::SetAutoSize(bool auto_size) {
    auto_size_ = auto_size;
    SetImage(QImage(Image()));
}

void PictureBox::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    if (BackColor().isValid()) {
        painter.fillRect(rect(), BackColor());
    }
    if (const QImage& image = Image(); !image.isNull()) {
        draw_picture(painter, image, event->region());
    }
}

void PictureBox::mousePressEvent(QMouseEvent* event) {
    event->accept();
}

} // namespace tk
