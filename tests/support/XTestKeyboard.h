#pragma once

#include <xcb/xcb.h>
#include <xcb/xcb_keysyms.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <initializer_list>
#include <iterator>

namespace testsupport {

// A second client that plays the user: it types and clicks through XTEST and
// can hold grabs.
class XTestKeyboard {
public:
    XTestKeyboard() : m_connection(xcb_connect(nullptr, nullptr)) {
        m_symbols = xcb_key_symbols_alloc(m_connection);
        m_root = xcb_setup_roots_iterator(xcb_get_setup(m_connection)).data->root;
    }
    ~XTestKeyboard() {
        xcb_key_symbols_free(m_symbols);
        xcb_disconnect(m_connection);
    }
    XTestKeyboard(const XTestKeyboard&) = delete;
    XTestKeyboard& operator=(const XTestKeyboard&) = delete;

    bool ok() const { return !xcb_connection_has_error(m_connection) && m_symbols; }

    xcb_keycode_t keycode(xcb_keysym_t sym) const {
        xcb_keycode_t* codes = xcb_key_symbols_get_keycode(m_symbols, sym);
        const xcb_keycode_t code = codes ? codes[0] : 0;
        std::free(codes);
        return code;
    }

    // Presses the keys in order and releases them in reverse.
    void chord(std::initializer_list<xcb_keysym_t> syms) {
        for (xcb_keysym_t sym : syms)
            fake(XCB_KEY_PRESS, sym);
        for (auto it = std::rbegin(syms); it != std::rend(syms); ++it)
            fake(XCB_KEY_RELEASE, *it);
        sync();
    }

    // Holds the keys down, in order, until release().
    void hold(std::initializer_list<xcb_keysym_t> syms) {
        for (xcb_keysym_t sym : syms)
            fake(XCB_KEY_PRESS, sym);
        sync();
    }
    void release(std::initializer_list<xcb_keysym_t> syms) {
        for (auto it = std::rbegin(syms); it != std::rend(syms); ++it)
            fake(XCB_KEY_RELEASE, *it);
        sync();
    }

    // A click of the first button at a point of the root window.
    void clickAt(std::int16_t x, std::int16_t y) {
        xcb_test_fake_input(m_connection, XCB_MOTION_NOTIFY, 0, XCB_CURRENT_TIME, m_root, x, y, 0);
        xcb_test_fake_input(m_connection, XCB_BUTTON_PRESS, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        xcb_test_fake_input(m_connection, XCB_BUTTON_RELEASE, 1, XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
        sync();
    }

    void grab(xcb_keysym_t sym, std::uint16_t modifiers) {
        xcb_grab_key(m_connection, 1, m_root, modifiers, keycode(sym), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        sync();
    }

private:
    void fake(std::uint8_t type, xcb_keysym_t sym) {
        xcb_test_fake_input(m_connection, type, keycode(sym), XCB_CURRENT_TIME, XCB_NONE, 0, 0, 0);
    }
    void sync() { std::free(xcb_get_input_focus_reply(m_connection, xcb_get_input_focus(m_connection), nullptr)); }

    xcb_connection_t* m_connection;
    xcb_key_symbols_t* m_symbols = nullptr;
    xcb_window_t m_root = 0;
};

}  // namespace testsupport
