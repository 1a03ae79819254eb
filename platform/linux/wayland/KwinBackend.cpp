// tockwell-wayland.so's back end for KWin: keys, the pointer and clicks through its fake input,
// the outputs' power through its display power management. KWin offers both only to programs
// that its desktop file names (X-KDE-Wayland-Interfaces).

#include "Proxy.h"
#include "WaylandBackend.h"
#include "dpms-client.h"
#include "fake-input-client.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace tockwell::platform::wayland {
namespace {

constexpr uint32_t Released = 0, Pressed = 1;
constexpr uint32_t LeftButton = 0x110; // BTN_LEFT of the kernel's input codes
constexpr uint32_t DpmsOff = 3;        // org_kde_kwin_dpms's mode.Off
// keyboard_key came with the fourth version, pointer_motion_absolute with the third.
constexpr uint32_t FakeInputVersion = 4;

/// One output's power control, and whether KWin can switch it.
struct OutputPower
{
    Proxy<wl_output, destroyProxy<wl_output>> output;
    Proxy<org_kde_kwin_dpms, org_kde_kwin_dpms_release> dpms;
    bool supported = false;
};

class KwinBackend final : public Backend
{
public:
    KwinBackend()
    {
        if (!connectToCompositor(m_display, m_registry, RegistryListener, this))
            return;
        if (m_fakeInput)
            org_kde_kwin_fake_input_authenticate(
                m_fakeInput.get(), "Tockwell",
                "Budzik naciska klawisze i klika w chwili ustawionej przez użytkownika");
        if (m_dpmsManager) {
            for (const auto &power : m_outputs) {
                power->dpms.reset(
                    org_kde_kwin_dpms_manager_get(m_dpmsManager.get(), power->output.get()));
                org_kde_kwin_dpms_add_listener(power->dpms.get(), &DpmsListener, power.get());
            }
        }
        // The outputs' support arrives with their first events.
        wl_display_roundtrip(m_display.get());
    }

    ~KwinBackend() override
    {
        // The objects before the connection that carries them; the last requests are read
        // before the connection goes, as KWin drops what a departed client left unread.
        if (m_display)
            wl_display_roundtrip(m_display.get());
        m_outputs.clear();
        m_fakeInput.reset();
        m_dpmsManager.reset();
        m_registry.reset();
        if (m_display)
            wl_display_flush(m_display.get());
    }

    WaylandOffers offers() const override
    {
        return {.fakeInput = bool(m_fakeInput),
                .dpms = bool(m_dpmsManager),
                .dpmsOutputs = std::any_of(m_outputs.begin(), m_outputs.end(),
                                           [](const auto &power) { return power->supported; })};
    }

    void pressKeys(const KeyCombination &, const std::vector<uint32_t> &layoutCodes) override
    {
        if (!m_fakeInput || layoutCodes.empty())
            return;
        for (const uint32_t code : layoutCodes)
            org_kde_kwin_fake_input_keyboard_key(m_fakeInput.get(), code, Pressed);
        for (auto code = layoutCodes.rbegin(); code != layoutCodes.rend(); ++code)
            org_kde_kwin_fake_input_keyboard_key(m_fakeInput.get(), *code, Released);
        wl_display_roundtrip(m_display.get());
    }

    void movePointer(QPoint pos, QSize) override
    {
        if (!m_fakeInput)
            return;
        org_kde_kwin_fake_input_pointer_motion_absolute(
            m_fakeInput.get(), wl_fixed_from_int(pos.x()), wl_fixed_from_int(pos.y()));
        wl_display_roundtrip(m_display.get());
    }

    void leftButton(bool down) override
    {
        if (!m_fakeInput)
            return;
        org_kde_kwin_fake_input_button(m_fakeInput.get(), LeftButton, down ? Pressed : Released);
        wl_display_roundtrip(m_display.get());
    }

    void outputsOff() override
    {
        for (const auto &power : m_outputs) {
            if (power->supported)
                org_kde_kwin_dpms_set(power->dpms.get(), DpmsOff);
        }
        if (m_display)
            wl_display_roundtrip(m_display.get());
    }

private:
    static void global(void *data, wl_registry *registry, uint32_t name, const char *interface,
                       uint32_t version)
    {
        auto *self = static_cast<KwinBackend *>(data);
        if (std::strcmp(interface, wl_output_interface.name) == 0) {
            auto power = std::make_unique<OutputPower>();
            power->output.reset(static_cast<wl_output *>(
                wl_registry_bind(registry, name, &wl_output_interface, 1)));
            self->m_outputs.push_back(std::move(power));
        } else if (std::strcmp(interface, org_kde_kwin_fake_input_interface.name) == 0 &&
                   version >= FakeInputVersion) {
            self->m_fakeInput.reset(static_cast<org_kde_kwin_fake_input *>(wl_registry_bind(
                registry, name, &org_kde_kwin_fake_input_interface, FakeInputVersion)));
        } else if (std::strcmp(interface, org_kde_kwin_dpms_manager_interface.name) == 0) {
            self->m_dpmsManager.reset(static_cast<org_kde_kwin_dpms_manager *>(
                wl_registry_bind(registry, name, &org_kde_kwin_dpms_manager_interface, 1)));
        }
    }
    static void globalRemove(void *, wl_registry *, uint32_t) {}
    static constexpr wl_registry_listener RegistryListener{&global, &globalRemove};

    static void dpmsSupported(void *data, org_kde_kwin_dpms *, uint32_t supported)
    {
        static_cast<OutputPower *>(data)->supported = supported != 0;
    }
    static void dpmsMode(void *, org_kde_kwin_dpms *, uint32_t) {}
    static void dpmsDone(void *, org_kde_kwin_dpms *) {}
    static constexpr org_kde_kwin_dpms_listener DpmsListener{&dpmsSupported, &dpmsMode, &dpmsDone};

    Display m_display;
    Registry m_registry;
    std::vector<std::unique_ptr<OutputPower>> m_outputs;
    Proxy<org_kde_kwin_fake_input, destroyProxy<org_kde_kwin_fake_input>> m_fakeInput;
    Proxy<org_kde_kwin_dpms_manager, destroyProxy<org_kde_kwin_dpms_manager>> m_dpmsManager;
};

} // namespace
} // namespace tockwell::platform::wayland

// NOLINTNEXTLINE(readability-identifier-naming): the name the loader looks up
extern "C" Q_DECL_EXPORT tockwell::platform::wayland::Backend *tockwell_kwin_backend(int version)
{
    using namespace tockwell::platform::wayland;
    return version == InterfaceVersion ? new KwinBackend : nullptr;
}
