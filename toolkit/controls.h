// The simple controls: label, push button, radio button and picture box.
#pragma once

#include "toolkit/control.h"

#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

namespace tk {

// A text label. A fixed-size label keeps its bounds; an auto-sized one fits
// its text. With no background colour it is transparent. A click on a label
// stays with the label: it never reaches a control below it. TextChanged is raised after each
// change of its text.
class Label : public QLabel, public Control {
    Q_OBJECT
public:
    explicit Label(const QString& name, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    QString Text() const override { return text(); }
    void SetText(const QString& text) override;

    void SetAutoSize(bool auto_size);

signals:
    void TextChanged();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool auto_size_ = false;
};

// A push button in the desktop's themed look; Click is raised on a click or
// the space key. The keyboard focus shows as a clear frame inside its edge.
class Button : public QPushButton, public Control {
    Q_OBJECT
public:
    explicit Button(const QString& name, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    QString Text() const override { return text(); }
    void SetText(const QString& text) override { setText(text); }

signals:
    void Click();

protected:
    void paintEvent(QPaintEvent* event) override;
};

// A radio button. All radio buttons of one window form one exclusive group.
// The keyboard focus shows as a dashed frame round it in its text colour.
class RadioButton : public QRadioButton, public Control {
    Q_OBJECT
public:
    explicit RadioButton(const QString& name, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }
    QString Text() const override { return text(); }
    void SetText(const QString& text) override;

    bool Checked() const { return isChecked(); }
    void SetChecked(bool checked) { setChecked(checked); }
    void SetAutoSize(bool auto_size);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool auto_size_ = false;
};

// A picture at its natural size from the box's top-left corner, clipped to the
// box, over the box's background colour if it has one. An auto-sized box takes
// the picture's size. Clicks stop at the picture.
class PictureBox : public QWidget, public Control {
    Q_OBJECT
public:
    explicit PictureBox(const QString& name, QWidget* parent = nullptr);

    QWidget* widget() override { return this; }

    // The picture is drawn from the box's top-left corner as draw_picture
    // draws it: a palette image stays one byte a pixel.
    const QImage& Image() const;
    void SetImage(const QImage& image);
    // A picture made only when the box is first drawn (or asked for its
    // image), for boxes that start hidden and may never be shown. An
    // auto-sized box takes the size given here at once.
    void SetImage(std::function<QImage()> source, QSize size = {});
    bool AutoSize() const { return auto_size_; }
    void SetAutoSize(bool auto_size);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    QImage image_;
    mutable std::function<QImage()> source_;
    bool auto_size_ = false;
};

} // namespace tk
