#include "app/AboutDlg.h"

#include "app/Artwork.h"
#include "models/MainWindowModel.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace ballotine {

namespace {

constexpr int kIconSize = 48;

QLabel* IconLabel(QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setPixmap(MakeAppIcon().pixmap(kIconSize, kIconSize));
    label->setAlignment(Qt::AlignTop | Qt::AlignHCenter);
    return label;
}

} // namespace

QString AboutText() {
    return QStringLiteral("\n%1\nBuilt %2\n\n"
                          "Designed and written by the Ballotine developers\n"
                          "for the people who run Team Fortress Classic servers.\n\n"
                          "Credits\n"
                          "Thanks to the author of the RipEnt Utility,\n"
                          "the entity import the vote map compile is built around.\n\n"
                          "\"Every map is somebody's favourite.\n"
                          "Usually the one nobody else voted for.\"")
        .arg(QString::fromLatin1(kMainWindowTitle), QStringLiteral(__DATE__));
}

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_text(new QLabel(this)) {
    setWindowTitle(QString::fromLatin1(kMainWindowTitle));
    setWindowIcon(MakeAppIcon());
    m_text->setText(AboutText());
    m_text->setAlignment(Qt::AlignCenter);

    auto* row = new QHBoxLayout;
    row->addWidget(IconLabel(this));
    row->addWidget(m_text, 1);
    row->addWidget(IconLabel(this));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    buttons->setCenterButtons(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addWidget(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

} // namespace ballotine
