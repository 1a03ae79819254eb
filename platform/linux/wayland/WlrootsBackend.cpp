// The entry point of tockwell-wayland.so: input and the outputs' power through the protocols of
// the wlroots compositors.

#include "Proxy.h"
#include "WaylandBackend.h"
#include "output-power-client.h"
#include "virtual-keyboard-client.h"
#include "virtual-pointer-client.h"

#include <QElapsedTimer>
#include <QString>

#include <cstring>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>
#include <vector>

namespace tockwell::platform::wayland {
namespace {

constexpr uint32_t KeymapFormatXkbV1 = 1; // wl_keyboard's keymap_format.xkb_v1
constexpr uint32_t Released = 0, Pressed = 1;
constexpr uint32_t LeftButton = 0x110; // BTN_LEFT of the kernel's input codes
constexpr uint32_t OutputOff = 0;      // zwlr_output_power_v1's mode.off
// The keymap's first keycode: evdev's 1, as XKB counts 8 more.
constexpr int FirstKeycode = 9;

// The modifier that a modifier keysym sets, as a mask of XKB's real modifiers.
uint32_t modifierMask(quint32 keysym)
{
    switch (keysym) {
    case 0xffe1: // Shift_L
        return 1u << 0;
    case 0xffe3: // Control_L
        return 1u << 2;
    case 0xffe9: // Alt_L: Mod1
        return 1u << 3;
    default:
        return 0;
    }
}

// A keymap that gives `keysyms` one key each, the first at FirstKeycode, and maps the modifier
// keysyms among them to their modifiers.
QByteArray keymapOf(const std::vector<quint32> &keysyms)
{
    QString codes, symbols;
    for (std::size_t i = 0; i < keysyms.size(); ++i) {
        codes += u"<K%1> = %2; "_qs.arg(i).arg(FirstKeycode + int(i));
        symbols += u"key <K%1> { [ 0x%2 ] }; "_qs.arg(i).arg(keysyms[i], 0, 16);
        const uint32_t mask = modifierMask(keysyms[i]);
        if (mask != 0) {
            const char *name = mask == 1 ? "Shift" : mask == 4 ? "Control" : "Mod1";
            symbols += u"modifier_map %1 { <K%2> }; "_qs.arg(QLatin1String(name)).arg(i);
        }
    }
    return u"xkb_keymap { xkb_keycodes \"tockwell\" { minimum = 8; maximum = 255; %1}; "
           "xkb_types \"tockwell\" { include \"complete\" }; "
           "xkb_compat \"tockwell\" { include \"complete\" }; "
           "xkb_symbols \"tockwell\" { %2}; };"_qs.arg(codes, symbols)
               .toUtf8();
}

class WlrootsBackend final : public Backend
{
public:
    WlrootsBackend()
    {
        if (connectToCompositor(m_display, m_registry, RegistryListener, this))
            m_clock.start();
    }

    ~WlrootsBackend() override
    {
        // The objects before the connection that carries them.
        m_keyboard.reset();
        m_pointer.reset();
        m_keyboards.reset();
        m_pointers.reset();
        m_power.reset();
        m_outputs.clear();
        m_seat.reset();
        m_registry.reset();
        if (m_display)
            wl_display_flush(m_display.get());
    }

    WaylandOffers offers() const override
    {
        return {.virtualKeyboard = m_keyboards && m_seat,
                .virtualPointer = bool(m_pointers),
                .outputPower = m_power && !m_outputs.empty()};
    }

    void pressKeys(const KeyCombination &keys, const std::vector<uint32_t> &) override
    {
        if (!offers().virtualKeyboard)
            return;
        if (!m_keyboard)
            m_keyboard.reset(zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(
                m_keyboards.get(), m_seat.get()));
        std::vector<quint32> keysyms(keys.modifiers.begin(), keys.modifiers.end());
        keysyms.push_back(keys.key);
        if (!uploadKeymap(keymapOf(keysyms)))
            return;
        uint32_t held = 0;
        const auto modifier = [&](std::size_t index, uint32_t state) {
            key(index, state);
            const uint32_t mask = modifierMask(keysyms[index]);
            held = state == Pressed ? held | mask : held & ~mask;
            zwp_virtual_keyboard_v1_modifiers(m_keyboard.get(), held, 0, 0, 0);
        };
        const std::size_t last = keysyms.size() - 1;
        for (std::size_t i = 0; i < last; ++i)
            modifier(i, Pressed);
        key(last, Pressed);
        key(last, Released);
        for (std::size_t i = last; i-- > 0;)
            modifier(i, Released);
        wl_display_roundtrip(m_display.get());
    }

    void movePointer(QPoint pos, QSize extent) override
    {
        if (!pointer() || extent.isEmpty())
            return;
        zwlr_virtual_pointer_v1_motion_absolute(m_pointer.get(), now(), uint32_t(pos.x()),
                                                uint32_t(pos.y()), uint32_t(extent.width()),
                                                uint32_t(extent.height()));
        zwlr_virtual_pointer_v1_frame(m_pointer.get());
        wl_display_roundtrip(m_display.get());
    }

    void leftButton(bool down) override
    {
        if (!pointer())
            return;
        zwlr_virtual_pointer_v1_button(m_pointer.get(), now(), LeftButton,
                                       down ? Pressed : Released);
        zwlr_virtual_pointer_v1_frame(m_pointer.get());
        wl_display_roundtrip(m_display.get());
    }

    void outputsOff() override
    {
        if (!offers().outputPower)
            return;
        for (const auto &output : m_outputs) {
            // The mode stays when the control object goes.
            const Proxy<zwlr_output_power_v1, zwlr_output_power_v1_destroy> power(
                zwlr_output_power_manager_v1_get_output_power(m_power.get(), output.get()));
            zwlr_output_power_v1_add_listener(power.get(), &PowerListener, nullptr);
            zwlr_output_power_v1_set_mode(power.get(), OutputOff);
            wl_display_roundtrip(m_display.get());
        }
    }

private:
    uint32_t now() const { return uint32_t(m_clock.elapsed()); }

    void key(std::size_t index, uint32_t state)
    {
        zwp_virtual_keyboard_v1_key(m_keyboard.get(), now(),
                                    uint32_t(FirstKeycode + int(index) - 8), state);
    }

    zwlr_virtual_pointer_v1 *pointer()
    {
        if (!m_pointer && m_pointers)
            m_pointer.reset(zwlr_virtual_pointer_manager_v1_create_virtual_pointer(m_pointers.get(),
                                                                                   m_seat.get()));
        return m_pointer.get();
    }

    // Hands `keymap` to the virtual keyboard in a sealed memory file, its closing NUL included.
    bool uploadKeymap(const QByteArray &keymap)
    {
        const int fd = memfd_create("tockwell-keymap", MFD_CLOEXEC);
        if (fd < 0)
            return false;
        const auto size = std::size_t(keymap.size()) + 1;
        const bool written = write(fd, keymap.constData(), size) == ssize_t(size);
        if (written)
            zwp_virtual_keyboard_v1_keymap(m_keyboard.get(), KeymapFormatXkbV1, fd, uint32_t(size));
        close(fd); // the request carries a copy of its own
        return written;
    }

    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
                       uint32_t)
    {
        auto *self = static_cast<WlrootsBackend *>(data);
        const auto bind = [&](const wl_interface *type) {
            return wl_registry_bind(registry, name, type, 1);
        };
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && !self->m_seat)
            self->m_seat.reset(static_cast<wl_seat *>(bind(&wl_seat_interface)));
        else if (std::strcmp(interface, wl_output_interface.name) == 0)
            self->m_outputs.emplace_back(static_cast<wl_output *>(bind(&wl_output_interface)));
        else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0)
            self->m_keyboards.reset(static_cast<zwp_virtual_keyboard_manager_v1 *>(
                bind(&zwp_virtual_keyboard_manager_v1_interface)));
        else if (std::strcmp(interface, zwlr_virtual_pointer_manager_v1_interface.name) == 0)
            self->m_pointers.reset(static_cast<zwlr_virtual_pointer_manager_v1 *>(
                bind(&zwlr_virtual_pointer_manager_v1_interface)));
        else if (std::strcmp(interface, zwlr_output_power_manager_v1_interface.name) == 0)
            self->m_power.reset(static_cast<zwlr_output_power_manager_v1 *>(
                bind(&zwlr_output_power_manager_v1_interface)));
    }
    static void globalRemove(void *, wl_registry *, uint32_t) {}
    static constexpr wl_registry_listener RegistryListener{&global, &globalRemove};

    // The output's mode and a refusal are not waited for: the request is all there is to do.
    static void powerMode(void *, zwlr_output_power_v1 *, uint32_t) {}
    static void powerFailed(void *, zwlr_output_power_v1 *) {}
    static constexpr zwlr_output_power_v1_listener PowerListener{&powerMode, &powerFailed};

    Display m_display;
    Registry m_registry;
    Proxy<wl_seat, destroyProxy<wl_seat>> m_seat;
    std::vector<Proxy<wl_output, destroyProxy<wl_output>>> m_outputs;
    Proxy<zwp_virtual_keyboard_manager_v1, destroyProxy<zwp_virtual_keyboard_manager_v1>>
        m_keyboards;
    Proxy<zwlr_virtual_pointer_manager_v1, zwlr_virtual_pointer_manager_v1_destroy> m_pointers;
    Proxy<zwlr_output_power_manager_v1, zwlr_output_power_manager_v1_destroy> m_power;
    Proxy<zwp_virtual_keyboard_v1, zwp_virtual_keyboard_v1_destroy> m_keyboard;
    Proxy<zwlr_virtual_pointer_v1, zwlr_virtual_pointer_v1_destroy> m_pointer;
    QElapsedTimer m_clock;
};

} // namespace
} // namespace tockwell::platform::wayland

// NOLINTNEXTLINE(readability-identifier-naming): the name the loader looks up
extern "C" Q_DECL_EXPORT tockwell::platform::wayland::Backend *tockwell_wlroots_backend(int version)
{
    using namespace tockwell::platform::wayland;
    return version == InterfaceVersion ? new WlrootsBackend : nullptr;
}
