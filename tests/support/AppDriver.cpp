#include "AppDriver.h"

#include "EventLoop.h"
#include "TestEnvironment.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcessEnvironment>
#include <QSaveFile>
#include <QTimeZone>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <cstring>
#include <utility>

namespace testsupport {

namespace {

constexpr int kPanelWidth = 364;

template <typename T>
using XReply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
XReply<T> reply(T* pointer) {
    return XReply<T>(pointer, &std::free);
}

bool writeFile(const QString& path, const QByteArray& content) {
    QDir().mkpath(QFileInfo(path).path());
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size() && file.commit();
}

// A time's value with its parameters (":20260310T090000Z"): a time in a named zone
// keeps that zone's wall clock and its TZID, any other is written in UTC.
QByteArray icsTime(const QDateTime& time) {
    if (time.timeSpec() == Qt::TimeZone)
        return ";TZID=" + time.timeZone().id() + ':' + time.toString(QStringLiteral("yyyyMMdd'T'HHmmss")).toLatin1();
    return ':' + time.toUTC().toString(QStringLiteral("yyyyMMdd'T'HHmmss'Z'")).toLatin1();
}

}  // namespace

// A connection of the driver's own to the X server.
struct AppDriver::X11 {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    xcb_key_symbols_t* symbols = xcb_key_symbols_alloc(connection);
    xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    xcb_atom_t pidAtom = atom("_NET_WM_PID");

    ~X11() {
        xcb_key_symbols_free(symbols);
        xcb_disconnect(connection);
    }

    xcb_atom_t atom(const char* name) const {
        auto answer = reply(xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, 0, static_cast<std::uint16_t>(std::strlen(name)), name), nullptr));
        return answer ? answer->atom : xcb_atom_t{XCB_ATOM_NONE};
    }

    void sync() const { std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr)); }

    void key(std::uint8_t type, std::uint32_t keysym) const {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
        const xcb_keycode_t code = codes ? codes[0] : 0;
        std::free(codes);
        xcb_test_fake_input(connection, type, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }

    // The key that gives the keysym, and whether Shift is needed for it.
    std::optional<std::pair<xcb_keycode_t, bool>> keyFor(std::uint32_t keysym) const {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(symbols, keysym);
        if (codes == nullptr)
            return std::nullopt;
        std::optional<std::pair<xcb_keycode_t, bool>> found;
        for (const xcb_keycode_t* code = codes; *code != 0 && !found; ++code) {
            if (xcb_key_symbols_get_keysym(symbols, *code, 0) == keysym)
                found = std::pair(*code, false);
            else if (xcb_key_symbols_get_keysym(symbols, *code, 1) == keysym)
                found = std::pair(*code, true);
        }
        std::free(codes);
        return found;
    }

    void tap(xcb_keycode_t code, bool shifted) const {
        xcb_keycode_t* shifts = xcb_key_symbols_get_keycode(symbols, 0xffe1);  // Shift_L
        const xcb_keycode_t shift = shifts ? shifts[0] : 0;
        std::free(shifts);
        if (shifted)
            xcb_test_fake_input(connection, XCB_KEY_PRESS, shift, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(connection, XCB_KEY_PRESS, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(connection, XCB_KEY_RELEASE, code, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        if (shifted)
            xcb_test_fake_input(connection, XCB_KEY_RELEASE, shift, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }

    qint64 windowPid(xcb_window_t window) const {
        auto answer = reply(xcb_get_property_reply(
            connection, xcb_get_property(connection, 0, window, pidAtom, XCB_ATOM_CARDINAL, 0, 1), nullptr));
        if (!answer || xcb_get_property_value_length(answer.get()) < 4)
            return -1;
        return *static_cast<const std::uint32_t*>(xcb_get_property_value(answer.get()));
    }
};

AppDriver::AppDriver(QString binary, const QString& homeName)
    : m_home(homeFolder() + u'/' + homeName),
      m_binary(std::move(binary)),
      m_tray(std::make_unique<FakeStatusNotifierWatcher>()),
      m_x(std::make_unique<X11>()) {
    QDir().mkpath(m_home + QStringLiteral("/run"));
    QFile::setPermissions(m_home + QStringLiteral("/run"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
}

AppDriver::~AppDriver() {
    stop();
}

QString AppDriver::calendarRoot() const {
    return m_home + QStringLiteral("/.local/share/orbitday/calendars");
}

void AppDriver::grantCalendarAccess() {
    writeFile(m_home + QStringLiteral("/.config/orbitday/privacy.conf"),
              "[General]\ncalendars=granted\nreminders=granted\n");
}

void AppDriver::setPreference(const QString& key, const QString& value) {
    const QString path = m_home + QStringLiteral("/.config/orbitday/settings.ini");
    QFile existing(path);
    QByteArray content = existing.open(QIODevice::ReadOnly) ? existing.readAll() : QByteArray("[General]\n");
    content += key.toUtf8() + '=' + value.toUtf8() + '\n';
    writeFile(path, content);
}

QString AppDriver::addCalendar() {
    const QString folder = calendarRoot() + QStringLiteral("/work");
    writeFile(folder + QStringLiteral("/displayname"), "Work");
    writeFile(folder + QStringLiteral("/color"), "#2D7FF9");
    return folder;
}

QString AppDriver::addEvent(const QString& title, const QDateTime& start, const QDateTime& end,
                           const QByteArray& moreProperties) {
    const QString folder = addCalendar();
    QByteArray properties =
        "DTSTART" + icsTime(start) + "\r\nDTEND" + icsTime(end) + "\r\nSUMMARY:" + title.toUtf8();
    if (!moreProperties.isEmpty())
        properties += "\r\n" + moreProperties;
    return writeItem(folder, "VEVENT", properties);
}

void AppDriver::recordOpenedAddresses() {
    const QString script = m_home + QStringLiteral("/bin/xdg-open");
    writeFile(script, "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"$HOME/opened-addresses\"\n");
    QFile::setPermissions(script, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    m_recordOpened = true;
}

QStringList AppDriver::openedAddresses() const {
    QFile file(m_home + QStringLiteral("/opened-addresses"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QString::fromUtf8(file.readAll()).split(u'\n', Qt::SkipEmptyParts);
}

QString AppDriver::addReminder(const QString& title, const QDateTime& due) {
    const QString folder = calendarRoot() + QStringLiteral("/reminders");
    writeFile(folder + QStringLiteral("/displayname"), "Reminders");
    writeFile(folder + QStringLiteral("/components"), "VTODO\n");
    return writeItem(folder, "VTODO",
                     "DUE" + icsTime(due) + "\r\nSTATUS:NEEDS-ACTION\r\nSUMMARY:" + title.toUtf8());
}

QString AppDriver::writeItem(const QString& folder, const QByteArray& component, const QByteArray& properties) {
    const QByteArray uid = "e2e-" + QByteArray::number(++m_items) + "@orbitday.test";
    const QByteArray ics = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Orbitday tests//EN\r\nBEGIN:" + component +
                           "\r\nUID:" + uid + "\r\nDTSTAMP:20260101T000000Z\r\n" + properties + "\r\nEND:" +
                           component + "\r\nEND:VCALENDAR\r\n";
    const QString path = folder + QLatin1Char('/') + QString::fromLatin1(uid) + QStringLiteral(".ics");
    writeFile(path, ics);
    return path;
}

bool AppDriver::start(const QStringList& arguments) {
    m_process = std::make_unique<QProcess>();
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), m_home);
    env.insert(QStringLiteral("XDG_CONFIG_HOME"), m_home + QStringLiteral("/.config"));
    env.insert(QStringLiteral("XDG_DATA_HOME"), m_home + QStringLiteral("/.local/share"));
    env.insert(QStringLiteral("XDG_CACHE_HOME"), m_home + QStringLiteral("/.cache"));
    env.insert(QStringLiteral("XDG_STATE_HOME"), m_home + QStringLiteral("/.local/state"));
    env.insert(QStringLiteral("XDG_RUNTIME_DIR"), m_home + QStringLiteral("/run"));
    env.insert(QStringLiteral("TZ"), QString::fromLatin1(m_timeZone));
    env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    env.remove(QStringLiteral("WAYLAND_DISPLAY"));
    env.insert(QStringLiteral("XDG_SESSION_TYPE"), QStringLiteral("x11"));
    // No sound from a test, whatever the machine's speakers: no such output.
    env.insert(QStringLiteral("CANBERRA_DRIVER"), QStringLiteral("none"));
    if (m_recordOpened)
        env.insert(QStringLiteral("PATH"), m_home + QStringLiteral("/bin:") + env.value(QStringLiteral("PATH")));
    m_process->setProcessEnvironment(env);
    m_process->setProcessChannelMode(QProcess::SeparateChannels);
    m_process->start(m_binary, arguments);
    return m_process->waitForStarted(scaledTimeout(10000));
}

int AppDriver::launchAgain(const QStringList& arguments, int timeoutMs) {
    return launchAgainFrom({}, arguments, timeoutMs);
}

int AppDriver::launchAgainFrom(const QString& folder, const QStringList& arguments, int timeoutMs) {
    QProcess again;
    again.setProcessEnvironment(m_process->processEnvironment());
    again.setWorkingDirectory(folder);
    again.start(m_binary, arguments);
    if (!again.waitForStarted(scaledTimeout(timeoutMs)))
        return -1;
    // Run the event loop meanwhile: the running instance answers the bus too.
    if (!waitUntil([&] { return again.state() == QProcess::NotRunning; }, timeoutMs))
        return -1;
    return again.exitStatus() == QProcess::NormalExit ? again.exitCode() : -1;
}

qint64 AppDriver::pid() const {
    return m_process ? m_process->processId() : 0;
}

bool AppDriver::isRunning() const {
    return m_process && m_process->state() == QProcess::Running;
}

long AppDriver::residentKiB() const {
    QFile status(QStringLiteral("/proc/%1/status").arg(pid()));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return 0;
}

QString AppDriver::stop() {
    if (!m_process)
        return {};
    if (m_process->state() != QProcess::NotRunning) {
        m_process->terminate();
        if (!m_process->waitForFinished(scaledTimeout(10000))) {
            m_process->kill();
            m_process->waitForFinished(5000);
        }
    }
    const QString errors = QString::fromLocal8Bit(m_process->readAllStandardError());
    m_process.reset();
    // Until the panel has let the old item go, a next start would find it there at once.
    waitUntil([this] { return m_tray->registeredItems().isEmpty(); });
    return errors;
}

void AppDriver::chord(std::initializer_list<std::uint32_t> keysyms) {
    for (const std::uint32_t keysym : keysyms)
        m_x->key(XCB_KEY_PRESS, keysym);
    for (auto it = std::rbegin(keysyms); it != std::rend(keysyms); ++it)
        m_x->key(XCB_KEY_RELEASE, *it);
    m_x->sync();
}

bool AppDriver::type(const QString& text) {
    // Latin-1 characters are their own keysyms.
    std::vector<std::pair<xcb_keycode_t, bool>> keys;
    for (const QChar c : text) {
        const std::uint32_t keysym = c == u'\n' ? Keys::returnKey : c == u'\t' ? Keys::tab : c.unicode();
        const auto key = c.unicode() <= 0xff ? m_x->keyFor(keysym) : std::nullopt;
        if (!key)
            return false;
        keys.push_back(*key);
    }
    for (const auto& [code, shifted] : keys)
        m_x->tap(code, shifted);
    m_x->sync();
    return true;
}

void AppDriver::focusElsewhere() {
    xcb_connection_t* c = m_x->connection;
    const xcb_window_t window = xcb_generate_id(c);
    const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, m_x->root, 0, 700, 100, 100, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual, 0, nullptr);
    xcb_map_window(c, window);
    xcb_set_input_focus(c, XCB_INPUT_FOCUS_POINTER_ROOT, window, XCB_CURRENT_TIME);
    m_x->sync();
}

void AppDriver::moveTo(const QPoint& point) {
    xcb_test_fake_input(m_x->connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_x->root,
                        static_cast<std::int16_t>(point.x()), static_cast<std::int16_t>(point.y()), 0);
    m_x->sync();
}

void AppDriver::click(const QPoint& point) {
    moveTo(point);
    xcb_connection_t* c = m_x->connection;
    xcb_test_fake_input(c, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    xcb_test_fake_input(c, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    m_x->sync();
}

std::vector<QRect> AppDriver::visibleWindows() const {
    std::vector<QRect> windows;
    xcb_connection_t* c = m_x->connection;
    auto tree = reply(xcb_query_tree_reply(c, xcb_query_tree(c, m_x->root), nullptr));
    if (!tree)
        return windows;
    const xcb_window_t* children = xcb_query_tree_children(tree.get());
    for (int i = 0; i < xcb_query_tree_children_length(tree.get()); ++i) {
        auto attributes = reply(xcb_get_window_attributes_reply(c, xcb_get_window_attributes(c, children[i]), nullptr));
        if (!attributes || attributes->map_state != XCB_MAP_STATE_VIEWABLE || m_x->windowPid(children[i]) != pid())
            continue;
        auto geometry = reply(xcb_get_geometry_reply(c, xcb_get_geometry(c, children[i]), nullptr));
        if (geometry)
            windows.emplace_back(geometry->x, geometry->y, geometry->width, geometry->height);
    }
    return windows;
}

std::optional<QRect> AppDriver::focusedWindow() const {
    xcb_connection_t* c = m_x->connection;
    auto focus = reply(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
    // No window manager runs: the application hands the focus to its top-level windows themselves.
    if (!focus || focus->focus == XCB_NONE || focus->focus == XCB_INPUT_FOCUS_POINTER_ROOT ||
        m_x->windowPid(focus->focus) != pid())
        return std::nullopt;
    auto geometry = reply(xcb_get_geometry_reply(c, xcb_get_geometry(c, focus->focus), nullptr));
    if (!geometry)
        return std::nullopt;
    return QRect(geometry->x, geometry->y, geometry->width, geometry->height);
}

std::optional<QRect> AppDriver::panelGeometry() const {
    for (const QRect& window : visibleWindows()) {
        if (window.width() == kPanelWidth)
            return window;
    }
    return std::nullopt;
}

bool AppDriver::waitForPanel(int timeoutMs) const {
    return waitUntil([this] { return panelGeometry().has_value(); }, timeoutMs);
}

bool AppDriver::waitForNoPanel(int timeoutMs) const {
    return waitUntil([this] { return !panelGeometry().has_value(); }, timeoutMs);
}

QImage AppDriver::screenshot(const QRect& area) const {
    xcb_connection_t* c = m_x->connection;
    auto image = reply(xcb_get_image_reply(
        c,
        xcb_get_image(c, XCB_IMAGE_FORMAT_Z_PIXMAP, m_x->root, static_cast<std::int16_t>(area.x()),
                      static_cast<std::int16_t>(area.y()), static_cast<std::uint16_t>(area.width()),
                      static_cast<std::uint16_t>(area.height()), ~0U),
        nullptr));
    if (!image || image->depth != 24)
        return {};
    const auto* data = xcb_get_image_data(image.get());
    const int length = xcb_get_image_data_length(image.get());
    if (length < area.width() * area.height() * 4)
        return {};
    return QImage(data, area.width(), area.height(), area.width() * 4, QImage::Format_RGB32).copy();
}

}  // namespace testsupport
