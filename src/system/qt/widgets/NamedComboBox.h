#pragma once

#include <QComboBox>

// A combo box that a screen reader calls by its accessible name (or, without
// one, by the label whose buddy it is). Qt's own accessible combo box on Linux
// gives the text the box holds as its name, so an address box would be read
// out as the address it shows; this one is read as what it is for, with the
// text as its value.
class NamedComboBox : public QComboBox {
    Q_OBJECT

public:
    explicit NamedComboBox(QWidget* parent = nullptr);
};
