#pragma once

#include "platform/privacy/Privacy.h"

#include <QObject>
#include <QString>

#include <map>
#include <optional>

namespace platform {

// Consent kept in the app's config: not determined until the user answers the prompt, then granted or denied
// for good (until changed in the privacy settings). A calendar folder that exists but cannot be read makes
// access restricted whatever the answer. Granting creates the calendar folder with one calendar "Calendar" and
// one list "Reminders" when it holds no collection yet.
class ConfigPrivacy : public QObject, public Privacy {
    Q_OBJECT

public:
    ConfigPrivacy(QString configFile, QString calendarRoot, ConsentPrompt& prompt, QObject* parent = nullptr);

    // $XDG_CONFIG_HOME/orbitday/privacy.conf, next to the preferences
    static QString defaultConfigFile();

    AuthorizationStatus authorizationStatus(EntityType entity) const override;
    void requestAccess(EntityType entity, Completion completion) override;

    // What the privacy settings window changes: stores the answer and, when access
    // is granted, makes the first calendar and list as the prompt does. Nullopt when
    // done, else a message for the user. A change is announced.
    //
    // An answer that cannot be stored (the file is unfit to read or cannot be written) still holds until the app
    // quits; the first such answer of a run comes with a message saying so, here and from requestAccess().
    std::optional<QString> setGranted(EntityType entity, bool granted);

signals:
    // The answer for the entity changed outside an access request.
    void accessChanged(platform::EntityType entity);

private:
    // Every answer in the file by key; nullopt when the file is there but unfit to read
    // (not a regular file, too large, unreadable), which is logged once.
    std::optional<std::map<QString, QString>> readAnswers() const;
    // False when the answer could not be stored.
    bool storeAnswer(EntityType entity, bool granted);
    // Stores the answer, or keeps it for the run; the message for the user when that is first so.
    std::optional<QString> keepAnswer(EntityType entity, bool granted);
    std::optional<bool> storedAnswer(EntityType entity) const;
    // Nullopt on success, else a message for the user.
    std::optional<QString> createDefaultCollections() const;

    QString m_configFile;
    QString m_root;
    ConsentPrompt& m_prompt;
    bool m_asking[2] = {false, false};
    std::optional<bool> m_unstored[2];  // answers held for this run only
    bool m_toldUnstored = false;
    mutable bool m_reportedUnfit = false;
};

}  // namespace platform
