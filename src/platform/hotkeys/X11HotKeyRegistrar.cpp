#include "platform/hotkeys/X11HotKeyRegistrar.h"

#include "core/Log.h"
#include "platform/keys/KeyTable.h"

#include <QSocketNotifier>

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>

#include <array>
#include <cstdlib>
#include <optional>
#include <vector>

namespace platform {
namespace {

constexpr xcb_keysym_t kNumLock = 0xff7f;
constexpr xcb_keysym_t kAltL = 0xffe9;
constexpr xcb_keysym_t kAltR = 0xffea;
constexpr xcb_keysym_t kSuperL = 0xffeb;
constexpr xcb_keysym_t kSuperR = 0xffec;
constexpr std::uint16_t kCoreModifiers = 0xff;

bool waylandSession() {
    return qEnvironmentVariable("XDG_SESSION_TYPE") == u"wayland" || !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <typename T>
using Malloced = std::unique_ptr<T, FreeDeleter>;

}  // namespace

struct X11HotKeyRegistrar::Connection {
    struct Grab {
        HotKeyRef ref;
        std::uint32_t id;
        xcb_keycode_t keycode;
        std::uint16_t modifiers;
    };

    xcb_connection_t* connection = nullptr;
    xcb_key_symbols_t* symbols = nullptr;
    xcb_window_t root = 0;
    std::uint16_t numLock = 0x10;   // Mod2Mask
    std::uint16_t capsLock = 0x02;  // LockMask
    keys::X11ModifierLayout layout;
    std::vector<Grab> grabs;
    std::uint64_t lastRef = 0;
    QSocketNotifier* notifier = nullptr;
    bool reportedLoss = false;
    // A held key repeats as a release and a press stamped with the same time; a
    // person cannot let go and press again within one millisecond.
    struct Release {
        xcb_keycode_t keycode = 0;
        xcb_timestamp_t time = 0;
    };
    std::optional<Release> lastRelease;

    bool isRepeat(const xcb_key_press_event_t& press) const {
        return lastRelease && lastRelease->keycode == press.detail && lastRelease->time == press.time;
    }

    ~Connection() {
        if (symbols)
            xcb_key_symbols_free(symbols);
        if (connection)
            xcb_disconnect(connection);
    }

    // A grab ignores the lock keys only if it is made once per lock combination.
    std::array<std::uint16_t, 4> lockVariants() const {
        return {0, capsLock, numLock, static_cast<std::uint16_t>(capsLock | numLock)};
    }

    // Which Mod bits NumLock, Alt and Super sit on in this server's mapping.
    void readModifierMapping() {
        const xcb_get_modifier_mapping_cookie_t cookie = xcb_get_modifier_mapping(connection);
        Malloced<xcb_get_modifier_mapping_reply_t> reply(xcb_get_modifier_mapping_reply(connection, cookie, nullptr));
        if (!reply)
            return;
        const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply.get());
        const int perModifier = reply->keycodes_per_modifier;
        bool sawAlt = false;
        bool sawSuper = false;
        // Shift, Lock and Control (0-2) are fixed; only Mod1-Mod5 (3-7) can move.
        for (int modifier = 3; modifier < 8; ++modifier) {
            const auto mask = static_cast<std::uint16_t>(1u << modifier);
            for (int i = 0; i < perModifier; ++i) {
                const xcb_keycode_t code = codes[modifier * perModifier + i];
                if (code == 0)
                    continue;
                const xcb_keysym_t sym = xcb_key_symbols_get_keysym(symbols, code, 0);
                if (sym == kNumLock)
                    numLock = mask;
                if ((sym == kAltL || sym == kAltR) && !sawAlt) {
                    layout.alt = mask;
                    sawAlt = true;
                }
                if ((sym == kSuperL || sym == kSuperR) && !sawSuper) {
                    layout.super = mask;
                    sawSuper = true;
                }
            }
        }
    }

    void ungrab(xcb_keycode_t keycode, std::uint16_t modifiers) {
        for (std::uint16_t lock : lockVariants())
            xcb_ungrab_key(connection, keycode, root, static_cast<std::uint16_t>(modifiers | lock));
        xcb_flush(connection);
    }
};

X11HotKeyRegistrar::X11HotKeyRegistrar(const QByteArray& display, QObject* parent) : QObject(parent) {
    if (waylandSession()) {
        core::log(QStringLiteral("global shortcuts unavailable: a Wayland session has no global key grabs"));
        return;
    }
    auto x = std::make_unique<Connection>();
    x->connection = xcb_connect(display.isEmpty() ? nullptr : display.constData(), nullptr);
    if (!x->connection || xcb_connection_has_error(x->connection)) {
        core::log(QStringLiteral("global shortcuts unavailable: no X11 display"));
        return;
    }
    const xcb_setup_t* setup = xcb_get_setup(x->connection);
    const xcb_screen_iterator_t screen = xcb_setup_roots_iterator(setup);
    if (!screen.data) {
        core::log(QStringLiteral("global shortcuts unavailable: the X11 display has no screen"));
        return;
    }
    x->root = screen.data->root;
    x->symbols = xcb_key_symbols_alloc(x->connection);
    if (!x->symbols) {
        core::log(QStringLiteral("global shortcuts unavailable: no X11 keyboard mapping"));
        return;
    }
    x->readModifierMapping();
    x->notifier = new QSocketNotifier(xcb_get_file_descriptor(x->connection), QSocketNotifier::Read, this);
    connect(x->notifier, &QSocketNotifier::activated, this, &X11HotKeyRegistrar::readEvents);
    m_x = std::move(x);
}

X11HotKeyRegistrar::~X11HotKeyRegistrar() {
    if (!m_x)
        return;
    delete m_x->notifier;
    m_x->notifier = nullptr;
    if (!xcb_connection_has_error(m_x->connection)) {
        for (const auto& grab : m_x->grabs)
            m_x->ungrab(grab.keycode, grab.modifiers);
    }
}

bool X11HotKeyRegistrar::isAvailable() const {
    return m_x && !xcb_connection_has_error(m_x->connection);
}

void X11HotKeyRegistrar::setPressHandler(PressHandler handler) {
    m_handler = std::move(handler);
}

std::optional<HotKeyRef> X11HotKeyRegistrar::registerHotKey(std::uint32_t keyCode, std::uint32_t modifiers,
                                                            std::uint32_t id) {
    if (!isAvailable())
        return std::nullopt;
    const keys::KeyEntry* key = keys::keyForKeyCode(keyCode);
    if (!key)
        return std::nullopt;
    Malloced<xcb_keycode_t> keycodes(xcb_key_symbols_get_keycode(m_x->symbols, key->keysym));
    if (!keycodes || keycodes.get()[0] == XCB_NO_SYMBOL)
        return std::nullopt;
    const xcb_keycode_t keycode = keycodes.get()[0];
    const std::uint16_t mask = keys::x11Modifiers(modifiers, m_x->layout);

    // The server would let two of our ids share one grab, and releasing either
    // would then silence both: a second id on the same keys is refused here.
    for (const auto& grab : m_x->grabs) {
        if (grab.keycode == keycode && grab.modifiers == mask)
            return std::nullopt;
    }

    std::vector<xcb_void_cookie_t> cookies;
    for (std::uint16_t lock : m_x->lockVariants()) {
        cookies.push_back(xcb_grab_key_checked(m_x->connection, 1, m_x->root, static_cast<std::uint16_t>(mask | lock),
                                               keycode, XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
    }
    bool refused = false;
    for (const xcb_void_cookie_t& cookie : cookies) {
        // BadAccess: another client holds the grab.
        if (Malloced<xcb_generic_error_t> error{xcb_request_check(m_x->connection, cookie)})
            refused = true;
    }
    // Checking the requests may have queued events the notifier will not announce.
    scheduleRead();
    if (refused) {
        m_x->ungrab(keycode, mask);
        return std::nullopt;
    }
    const HotKeyRef ref{++m_x->lastRef};
    m_x->grabs.push_back({ref, id, keycode, mask});
    return ref;
}

void X11HotKeyRegistrar::unregisterHotKey(HotKeyRef ref) {
    if (!m_x)
        return;
    auto& grabs = m_x->grabs;
    for (auto it = grabs.begin(); it != grabs.end(); ++it) {
        if (it->ref == ref) {
            if (!xcb_connection_has_error(m_x->connection))
                m_x->ungrab(it->keycode, it->modifiers);
            grabs.erase(it);
            return;
        }
    }
}

std::optional<std::uint32_t> X11HotKeyRegistrar::keyCodeOfKey(std::uint32_t nativeScanCode) const {
    // X11 key codes are 8 to 255; other platforms' scan codes mean nothing here.
    if (!isAvailable() || nativeScanCode < 8 || nativeScanCode > 255)
        return std::nullopt;
    const xcb_keysym_t unshifted =
        xcb_key_symbols_get_keysym(m_x->symbols, static_cast<xcb_keycode_t>(nativeScanCode), 0);
    const keys::KeyEntry* key = keys::keyForKeysym(unshifted);
    if (key == nullptr)
        return std::nullopt;
    return key->keyCode;
}

void X11HotKeyRegistrar::scheduleRead() {
    QMetaObject::invokeMethod(this, &X11HotKeyRegistrar::readEvents, Qt::QueuedConnection);
}

void X11HotKeyRegistrar::readEvents() {
    if (!m_x || !m_x->notifier)
        return;
    std::vector<std::uint32_t> pressed;
    const auto ignored = static_cast<std::uint16_t>(m_x->capsLock | m_x->numLock);
    while (Malloced<xcb_generic_event_t> event{xcb_poll_for_event(m_x->connection)}) {
        const auto type = event->response_type & 0x7f;
        if (type == XCB_KEY_RELEASE) {
            const auto* release = reinterpret_cast<const xcb_key_release_event_t*>(event.get());
            m_x->lastRelease = Connection::Release{release->detail, release->time};
            continue;
        }
        if (type != XCB_KEY_PRESS)
            continue;
        const auto* press = reinterpret_cast<const xcb_key_press_event_t*>(event.get());
        if (m_x->isRepeat(*press))
            continue;
        const auto state = static_cast<std::uint16_t>(press->state & kCoreModifiers & ~ignored);
        for (const auto& grab : m_x->grabs) {
            if (grab.keycode == press->detail && grab.modifiers == state)
                pressed.push_back(grab.id);
        }
    }
    if (xcb_connection_has_error(m_x->connection)) {
        m_x->notifier->setEnabled(false);
        if (!m_x->reportedLoss) {
            m_x->reportedLoss = true;
            core::log(QStringLiteral("global shortcuts stopped: the X11 connection was lost"));
        }
    }
    // Handlers run after the queue is drained: one may register or unregister.
    for (std::uint32_t id : pressed) {
        if (m_handler)
            m_handler(id);
    }
}

}  // namespace platform
