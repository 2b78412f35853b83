#pragma once
// Small helpers for the program's own requests to the X server.

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <xcb/xcb.h>

namespace quendal {

// The atoms of these names asked for together, their answers taken later by atomsOf: what
// is sent in between does not wait for them, nor they for it.
template <std::size_t N>
std::array<xcb_intern_atom_cookie_t, N> askForAtoms(xcb_connection_t* connection,
                                                    const std::array<const char*, N>& names) {
    std::array<xcb_intern_atom_cookie_t, N> cookies{};
    for (std::size_t i = 0; i < N; ++i) {
        cookies[i] =
            xcb_intern_atom(connection, 0, static_cast<uint16_t>(std::strlen(names[i])), names[i]);
    }
    return cookies;
}

// The answers to askForAtoms; XCB_ATOM_NONE for a name the server did not answer.
template <std::size_t N>
std::array<xcb_atom_t, N> atomsOf(xcb_connection_t* connection,
                                  const std::array<xcb_intern_atom_cookie_t, N>& cookies) {
    std::array<xcb_atom_t, N> atoms{};
    for (std::size_t i = 0; i < N; ++i) {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(connection, cookies[i], nullptr);
        atoms[i] = reply != nullptr ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
        std::free(reply);
    }
    return atoms;
}

// The atoms of these names, asked for together: one wait for the server, not one for each.
template <std::size_t N>
std::array<xcb_atom_t, N> internAtoms(xcb_connection_t* connection,
                                      const std::array<const char*, N>& names) {
    return atomsOf(connection, askForAtoms(connection, names));
}

// Screen `number` of the connection, null when it has no such screen.
inline const xcb_screen_t* nthScreen(xcb_connection_t* connection, int number) {
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (int i = 0; i < number && screens.rem > 0; ++i) {
        xcb_screen_next(&screens);
    }
    return screens.rem > 0 ? screens.data : nullptr;
}

} // namespace quendal
