#pragma once

#include <QDialog>

class QLabel;

namespace ballotine {

// The about box: the application icon on both sides of the about text, and "OK".
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* TextLabel() const { return m_text; }

private:
    QLabel* m_text;
};

// An empty line, the product and version, the build date, design credits, thanks to the
// entity tool's author, and a closing quotation.
QString AboutText();

} // namespace ballotine
