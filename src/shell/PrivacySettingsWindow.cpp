#include "shell/PrivacySettingsWindow.h"

#include "design/widgets/KitWidget.h"
#include "design/widgets/ODFont.h"
#include "design/widgets/ODSwitch.h"
#include "design/widgets/Painting.h"
#include "design/widgets/SectionHeader.h"
#include "design/widgets/SettingsRow.h"
#include "design/widgets/TextBlock.h"
#include "platform/privacy/ConfigPrivacy.h"

#include <QPainter>
#include <QVBoxLayout>

namespace app {

using platform::AuthorizationStatus;
using platform::ConfigPrivacy;
using platform::EntityType;

namespace {

int slot(EntityType entity) {
    return entity == EntityType::Event ? 0 : 1;
}

QString detail(EntityType entity, AuthorizationStatus status) {
    if (status == AuthorizationStatus::Restricted)
        return QStringLiteral("The calendar folder cannot be read, so nothing can be allowed.");
    return entity == EntityType::Event ? QStringLiteral("Orbitday may read and change your calendars.")
                                       : QStringLiteral("Orbitday may read and complete your reminders.");
}

}  // namespace

PrivacySettingsWindow::PrivacySettingsWindow(ConfigPrivacy& privacy, QWidget* parent)
    : QWidget(parent, Qt::Window), m_privacy(privacy) {
    setWindowTitle(platform::privacySettingsName());
    setMinimumWidth(320);
    design::followAppearance(this);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(20, 20, 20, 20);
    layout->setSpacing(14);
    // A pane for each, holding the app's switch: the words that send the user here
    // ("Privacy Settings › Calendars", "Turn on Orbitday") name what is seen.
    for (const EntityType entity : {EntityType::Event, EntityType::Reminder}) {
        const int i = slot(entity);
        m_switches[i] = new design::ODSwitch(false, this);
        m_switches[i]->setAccessibleName(platform::privacySwitchName());
        m_switches[i]->setAccessibleDescription(platform::privacyPaneName(entity));
        m_panes[i] = new design::SectionHeader(platform::privacyPaneName(entity), this);
        m_rows[i] = new design::SettingsRow(platform::privacySwitchName(), std::nullopt, m_switches[i], this);
        auto* pane = new QVBoxLayout;
        pane->setSpacing(8);
        pane->addWidget(m_panes[i]);
        pane->addWidget(m_rows[i]);
        layout->addLayout(pane);
        connect(m_switches[i], &design::ODSwitch::clicked, this, [this, entity](bool on) { change(entity, on); });
    }
    m_error = new design::TextBlock(QString(), design::ODFont::body(12), design::Theme::flame(), this);
    m_error->hide();
    layout->addWidget(m_error);
    layout->addStretch();
    refresh();
    connect(&m_privacy, &ConfigPrivacy::accessChanged, this, &PrivacySettingsWindow::refresh);
}

design::ODSwitch* PrivacySettingsWindow::accessSwitch(EntityType entity) const {
    return m_switches[slot(entity)];
}

QString PrivacySettingsWindow::paneTitle(EntityType entity) const {
    return m_panes[slot(entity)]->title();
}

QString PrivacySettingsWindow::switchLabel(EntityType entity) const {
    return m_rows[slot(entity)]->label();
}

QString PrivacySettingsWindow::errorText() const {
    return m_error->isHidden() ? QString() : m_error->text();
}

void PrivacySettingsWindow::showPane(EntityType entity) {
    show();
    raise();
    activateWindow();
    accessSwitch(entity)->setFocus(Qt::OtherFocusReason);
}

void PrivacySettingsWindow::refresh() {
    for (const EntityType entity : {EntityType::Event, EntityType::Reminder}) {
        const AuthorizationStatus status = m_privacy.authorizationStatus(entity);
        m_switches[slot(entity)]->setOn(status == AuthorizationStatus::FullAccess);
        m_switches[slot(entity)]->setEnabled(status != AuthorizationStatus::Restricted);
        m_rows[slot(entity)]->setDetail(detail(entity, status));
    }
}

void PrivacySettingsWindow::change(EntityType entity, bool granted) {
    const std::optional<QString> error = m_privacy.setGranted(entity, granted);
    m_error->setText(error.value_or(QString()));
    m_error->setVisible(error.has_value());
    // What is stored is what the switch shows, also when storing failed.
    refresh();
}

void PrivacySettingsWindow::showEvent(QShowEvent* event) {
    // The prompt may have answered while the window was hidden.
    refresh();
    QWidget::showEvent(event);
}

void PrivacySettingsWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), design::toQColor(design::Theme::surface()));
}

}  // namespace app
