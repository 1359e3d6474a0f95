#pragma once

#include <QFrame>

class ApplicationFacts;

// The splash window shown while the cheque-entry window loads: the product
// logo, the platform line, the version, the copyright line and the maker's
// web address. It has no title bar and cannot be closed by the user.
class frmSplash : public QFrame {
    Q_OBJECT

public:
    explicit frmSplash(const ApplicationFacts& facts, QWidget* parent = nullptr);

    void Form_Load();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    const ApplicationFacts& m_facts;
};
