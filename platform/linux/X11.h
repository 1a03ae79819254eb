#pragma once

#include <memory>

struct _XDisplay;

namespace tockwell::platform::x11 {

/// The X display the program's windows live on, or null where there is none: under Wayland,
/// offscreen, without a display, or in a build without X11. Every X11-only operation checks it
/// and does nothing on null.
_XDisplay *display();

/// The functions of an X extension's library (X11Extensions.h), loaded at the first use so that
/// a start does not map the library, and kept to the end. `Functions::load()` looks them up; it
/// gives nothing where the library or one of the functions is missing, and then the effects that
/// need them do nothing, as without the extension. Tried once.
template <typename Functions> class Extension
{
public:
    /// The functions, loaded on the first call; nullptr when they cannot be.
    const Functions *get()
    {
        if (!m_tried) {
            m_tried = true;
            m_functions = Functions::load();
        }
        return m_functions.get();
    }

private:
    bool m_tried = false;
    std::unique_ptr<const Functions> m_functions;
};

} // namespace tockwell::platform::x11
