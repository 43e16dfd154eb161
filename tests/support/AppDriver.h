#pragma once

#include "FakeStatusNotifierWatcher.h"

#include <QDateTime>
#include <QImage>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <optional>
#include <vector>

namespace testsupport {

// Runs the real application the way a user's desktop would, for end-to-end
// tests and benchmarks: in a HOME of its own, with a fake panel on the session
// bus that takes its tray item, a keyboard that types through XTEST, and a
// view of the X server's windows and pixels. Needs DISPLAY (a private Xvfb) and
// a session bus: give the test XVFB and DBUS.
//
//     AppDriver app(ORBITDAY_APP_BINARY);
//     app.grantCalendarAccess();
//     app.addEvent(u"Dentist"_s, start, end);
//     ASSERT_TRUE(app.start());
//     ASSERT_TRUE(app.tray().waitForItem());
//     app.keyboard().chord({XK::controlL, XK::altL, 'c'});
//     ASSERT_TRUE(app.waitForPanel());
//     app.screenshot(*app.panelGeometry()).save(...);
class AppDriver {
public:
    // X keysyms the tests type.
    struct Keys {
        static constexpr std::uint32_t controlL = 0xffe3;
        static constexpr std::uint32_t altL = 0xffe9;
        static constexpr std::uint32_t escape = 0xff1b;
        static constexpr std::uint32_t returnKey = 0xff0d;
        static constexpr std::uint32_t end = 0xff57;
        static constexpr std::uint32_t tab = 0xff09;
        static constexpr std::uint32_t right = 0xff53;
    };

    // `homeName`: the application's HOME, a folder of the test's own temporary HOME.
    explicit AppDriver(QString binary, const QString& homeName = QStringLiteral("app-home"));
    ~AppDriver();
    AppDriver(const AppDriver&) = delete;
    AppDriver& operator=(const AppDriver&) = delete;

    // --- Before start(): what the user's HOME holds -------------------------------------------

    QString home() const { return m_home; }
    QString calendarRoot() const;
    // The answer to the calendar access question, already given.
    void grantCalendarAccess();
    // A preference in the settings file, as the application stores it.
    void setPreference(const QString& key, const QString& value);
    // The calendar "Work" (blue, #2D7FF9), empty unless events are added; returns its folder.
    QString addCalendar();
    // A timed event in the calendar "Work", with further iCalendar lines when given
    // ("RRULE:FREQ=WEEKLY"); returns the path of its file. Times in a named zone are
    // written in it (TZID), others in UTC.
    QString addEvent(const QString& title, const QDateTime& start, const QDateTime& end,
                     const QByteArray& moreProperties = {});
    // A to-do due at `due` in the list "Reminders"; returns the path of its file.
    QString addReminder(const QString& title, const QDateTime& due);
    // The zone the application runs in (TZ).
    void setTimeZone(const QByteArray& zone) { m_timeZone = zone; }
    // Addresses the application hands to the desktop are written down instead
    // of opened: an xdg-open of ours comes first on its PATH.
    void recordOpenedAddresses();
    // What it handed over since, in order.
    QStringList openedAddresses() const;

    // --- Running --------------------------------------------------------------------------------

    // Starts the application; false when it could not be started.
    bool start(const QStringList& arguments = {});
    // Starts it again while it runs and waits for that launch to end; its exit
    // status, or -1 when it did not end in time.
    int launchAgain(const QStringList& arguments = {}, int timeoutMs = 10000);
    // The same, started in `folder` (its working folder), as from a terminal there.
    int launchAgainFrom(const QString& folder, const QStringList& arguments, int timeoutMs = 10000);
    qint64 pid() const;
    bool isRunning() const;
    // Resident memory of the application in KiB (0 when unknown).
    long residentKiB() const;
    // Ends the application and returns what it wrote on its standard error, once
    // the panel has let its item go.
    QString stop();

    FakeStatusNotifierWatcher& tray() { return *m_tray; }

    // --- The X server -----------------------------------------------------------------------

    // Presses the keys in order, then releases them in reverse.
    void chord(std::initializer_list<std::uint32_t> keysyms);
    // Types the text key by key, with Shift where the keyboard map wants it;
    // false (typing nothing) when a character has no key in the map.
    bool type(const QString& text);
    // Another application takes the keyboard, as a click into its window does.
    void focusElsewhere();
    // Moves the pointer to the point of the screen and clicks the left button there.
    void click(const QPoint& point);
    // Moves the pointer to the point of the screen and leaves it there.
    void moveTo(const QPoint& point);
    // The application's windows that are mapped now.
    std::vector<QRect> visibleWindows() const;
    // The window that has the keyboard, when it is one of the application's.
    std::optional<QRect> focusedWindow() const;
    // The popover panel (the application's mapped window 364 pixels wide).
    std::optional<QRect> panelGeometry() const;
    bool waitForPanel(int timeoutMs = 5000) const;
    bool waitForNoPanel(int timeoutMs = 5000) const;
    QImage screenshot(const QRect& area) const;

private:
    struct X11;

    // One item of a collection in the calendar folder; returns its file's path.
    QString writeItem(const QString& folder, const QByteArray& component, const QByteArray& properties);

    QString m_home;
    QString m_binary;
    QByteArray m_timeZone = "Europe/Berlin";
    std::unique_ptr<QProcess> m_process;
    std::unique_ptr<FakeStatusNotifierWatcher> m_tray;
    std::unique_ptr<X11> m_x;
    int m_items = 0;
    bool m_recordOpened = false;
};

}  // namespace testsupport
