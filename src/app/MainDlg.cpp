#include "app/MainDlg.h"

#include "app/DisplayText.h"
#include "catalogue/Session.h"
#include "platform/Registry.h"
#include "platform/Services.h"

#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace ballotine {

CMainDlg::CMainDlg(Session& session, Services& services, const RegistryFile& registry,
                   QWidget* parent)
    : QDialog(parent), m_session(session), m_services(services), m_registry(registry),
      m_modSelector(new QComboBox(this)) {
    setWindowTitle(QStringLiteral("Ballotine V2.2"));
    auto* layout = new QVBoxLayout(this);
    auto* frame = new QGroupBox(QStringLiteral("Ballotine"), this);
    auto* frameLayout = new QVBoxLayout(frame);
    frameLayout->addWidget(m_modSelector);
    layout->addWidget(frame);
    auto* exitButton = new QPushButton(QStringLiteral("Exit"), this);
    layout->addWidget(exitButton);
    connect(exitButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_modSelector, &QComboBox::currentIndexChanged, this, &CMainDlg::OnModSelected);
}

bool CMainDlg::StartUp() {
    const bool started = StartSession(m_session, m_registry, m_services.prompter);
    FillModSelector();
    return started;
}

void CMainDlg::FillModSelector() {
    const QSignalBlocker blocker(m_modSelector);
    m_modSelector->clear();
    for (const std::string& title : m_session.selector.Entries()) {
        m_modSelector->addItem(ToDisplayText(title));
    }
    m_modSelector->setCurrentIndex(m_session.selector.SelectedIndex());
}

void CMainDlg::OnModSelected(int index) {
    m_session.selector.Select(index);
    SelectCurrentMod(m_session);
}

} // namespace ballotine
