"""Helpers the tests written in Python share."""
