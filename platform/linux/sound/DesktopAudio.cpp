#include "DesktopAudio.h"

#include "SoundConfig.h"

#include <QApplication>
#include <QTimer>

#if TOCKWELL_WITH_PULSEAUDIO
#include <pulse/pulseaudio.h>
#endif
#if TOCKWELL_WITH_ALSA
#include <alsa/asoundlib.h>
#endif
#if TOCKWELL_WITH_GSTREAMER
#include <gst/gst.h>
#endif

#include <functional>

namespace tockwell::platform::sound {
namespace {

constexpr auto VolumeTimeout = std::chrono::milliseconds(3000);

#if TOCKWELL_WITH_PULSEAUDIO

struct MainloopFree
{
    void operator()(pa_mainloop *loop) const { pa_mainloop_free(loop); }
};
struct ContextEnd
{
    void operator()(pa_context *context) const
    {
        pa_context_disconnect(context);
        pa_context_unref(context);
    }
};
struct OperationUnref
{
    void operator()(pa_operation *operation) const { pa_operation_unref(operation); }
};
using Operation = std::unique_ptr<pa_operation, OperationUnref>;

/// One short connection to the sound server, driven by its own blocking loop with a deadline.
class PulseConnection
{
public:
    explicit PulseConnection(std::chrono::milliseconds timeout)
        : m_deadline(std::chrono::steady_clock::now() + timeout), m_loop(pa_mainloop_new())
    {
        m_context.reset(pa_context_new(pa_mainloop_get_api(m_loop.get()), "Tockwell"));
    }

    bool connect()
    {
        if (!m_context ||
            pa_context_connect(m_context.get(), nullptr, PA_CONTEXT_NOAUTOSPAWN, nullptr) < 0)
            return false;
        return waitFor([this] {
                   const pa_context_state_t state = pa_context_get_state(m_context.get());
                   return state == PA_CONTEXT_READY || !PA_CONTEXT_IS_GOOD(state);
               }) &&
               pa_context_get_state(m_context.get()) == PA_CONTEXT_READY;
    }

    /// Runs the loop until `operation` has ended; false on the deadline.
    bool finish(const Operation &operation)
    {
        return operation && waitFor([&operation] {
                   return pa_operation_get_state(operation.get()) != PA_OPERATION_RUNNING;
               });
    }

    pa_context *context() const { return m_context.get(); }

private:
    bool waitFor(const std::function<bool()> &done)
    {
        using namespace std::chrono;
        while (!done()) {
            const auto left = duration_cast<microseconds>(m_deadline - steady_clock::now());
            if (left.count() <= 0 || pa_mainloop_prepare(m_loop.get(), int(left.count())) < 0 ||
                pa_mainloop_poll(m_loop.get()) < 0 || pa_mainloop_dispatch(m_loop.get()) < 0)
                return false;
        }
        return true;
    }

    std::chrono::steady_clock::time_point m_deadline;
    std::unique_ptr<pa_mainloop, MainloopFree> m_loop;
    std::unique_ptr<pa_context, ContextEnd> m_context;
};

void readChannels(pa_context *, const pa_sink_info *info, int eol, void *channels)
{
    if (!eol && info)
        *static_cast<int *>(channels) = info->volume.channels;
}

void readSuccess(pa_context *, int success, void *result)
{
    *static_cast<bool *>(result) = success;
}

#endif

#if TOCKWELL_WITH_GSTREAMER
struct PipelineEnd
{
    void operator()(GstElement *pipeline) const
    {
        gst_element_set_state(pipeline, GST_STATE_NULL);
        gst_object_unref(pipeline);
    }
};
#endif

#if TOCKWELL_WITH_ALSA
struct MixerClose
{
    void operator()(snd_mixer_t *mixer) const { snd_mixer_close(mixer); }
};
#endif

} // namespace

bool maximisePulseVolume(std::chrono::milliseconds timeout)
{
#if TOCKWELL_WITH_PULSEAUDIO
    PulseConnection pulse(timeout);
    if (!pulse.connect())
        return false;
    const char *const sink = "@DEFAULT_SINK@";
    int channels = 0;
    if (!pulse.finish(Operation(
            pa_context_get_sink_info_by_name(pulse.context(), sink, readChannels, &channels))) ||
        channels <= 0)
        return false;
    pa_cvolume volume;
    pa_cvolume_set(&volume, unsigned(channels), PA_VOLUME_NORM);
    bool done = false, unmuted = false;
    // Full volume on a muted output is still silence: the mute goes too.
    return pulse.finish(Operation(pa_context_set_sink_volume_by_name(pulse.context(), sink, &volume,
                                                                     readSuccess, &done))) &&
           done &&
           pulse.finish(Operation(pa_context_set_sink_mute_by_name(pulse.context(), sink, 0,
                                                                   readSuccess, &unmuted))) &&
           unmuted;
#else
    Q_UNUSED(timeout)
    return false;
#endif
}

bool maximiseAlsaVolume()
{
#if TOCKWELL_WITH_ALSA
    snd_mixer_t *raw = nullptr;
    if (snd_mixer_open(&raw, 0) < 0)
        return false;
    const std::unique_ptr<snd_mixer_t, MixerClose> mixer(raw);
    if (snd_mixer_attach(raw, "default") < 0 ||
        snd_mixer_selem_register(raw, nullptr, nullptr) < 0 || snd_mixer_load(raw) < 0)
        return false;
    bool set = false;
    for (snd_mixer_elem_t *element = snd_mixer_first_elem(raw); element;
         element = snd_mixer_elem_next(element)) {
        const QByteArray name = snd_mixer_selem_get_name(element);
        if ((name != "Master" && name != "PCM") || !snd_mixer_selem_has_playback_volume(element))
            continue;
        long low = 0, high = 0;
        snd_mixer_selem_get_playback_volume_range(element, &low, &high);
        set = snd_mixer_selem_set_playback_volume_all(element, high) == 0 || set;
        if (snd_mixer_selem_has_playback_switch(element))
            snd_mixer_selem_set_playback_switch_all(element, 1); // on: not muted
    }
    return set;
#else
    return false;
#endif
}

/// Plays a short tone of our own through GStreamer; the X bell where GStreamer cannot play.
/// Without a sound device GStreamer plays into a silent sink, which is harmless.
class DesktopAudio::Beeper
{
public:
    Beeper()
    {
        QObject::connect(&m_watch, &QTimer::timeout, [this] { watchBus(); });
    }

    void beep()
    {
#if TOCKWELL_WITH_GSTREAMER
        if (!m_pipeline && gst_init_check(nullptr, nullptr, nullptr)) {
            // 150 ms of 880 Hz: 15 buffers of 10 ms.
            GstElement *pipeline = gst_parse_launch(
                "audiotestsrc wave=sine freq=880 volume=0.4 num-buffers=15 samplesperbuffer=441 "
                "! audio/x-raw,rate=44100 ! audioconvert ! audioresample ! autoaudiosink",
                nullptr);
            if (pipeline)
                m_pipeline.reset(GST_ELEMENT(gst_object_ref_sink(pipeline)));
        }
        if (m_pipeline) {
            gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
            if (gst_element_set_state(m_pipeline.get(), GST_STATE_PLAYING) !=
                GST_STATE_CHANGE_FAILURE) {
                m_watch.start(100);
                return;
            }
            m_pipeline.reset();
            m_watch.stop();
        }
#endif
        QApplication::beep();
    }

private:
    void watchBus()
    {
#if TOCKWELL_WITH_GSTREAMER
        if (!m_pipeline)
            return m_watch.stop();
        GstBus *bus = gst_element_get_bus(m_pipeline.get());
        GstMessage *message =
            gst_bus_pop_filtered(bus, GstMessageType(GST_MESSAGE_EOS | GST_MESSAGE_ERROR));
        gst_object_unref(bus);
        if (!message)
            return;
        const bool failed = GST_MESSAGE_TYPE(message) == GST_MESSAGE_ERROR;
        gst_message_unref(message);
        // Back to NULL frees the sound device until the next beep.
        gst_element_set_state(m_pipeline.get(), GST_STATE_NULL);
        m_watch.stop();
        if (failed)
            QApplication::beep();
#endif
    }

    QTimer m_watch;
#if TOCKWELL_WITH_GSTREAMER
    std::unique_ptr<GstElement, PipelineEnd> m_pipeline;
#endif
};

DesktopAudio::DesktopAudio() : m_beeper(std::make_unique<Beeper>()) {}

DesktopAudio::~DesktopAudio() = default;

void DesktopAudio::maximiseVolume()
{
    if (!maximisePulseVolume(VolumeTimeout))
        maximiseAlsaVolume();
}

void DesktopAudio::beep()
{
    m_beeper->beep();
}

} // namespace tockwell::platform::sound
