#include "GstPlayback.h"

#include "SoundConfig.h"

#if TOCKWELL_WITH_GSTREAMER
#include <gst/gst.h>
#endif

#include <QMutex>

namespace tockwell::platform::sound {
namespace {

#if TOCKWELL_WITH_GSTREAMER

// playbin's "flags": audio with its own volume, no video or subtitles (an MP3 with a cover
// picture would otherwise want a video sink).
constexpr guint PlayAudioOnly = 0x2 | 0x10;
// How long an open may take to read the file's start; broken files fail far sooner.
constexpr GstClockTime OpenTimeout = 10 * GST_SECOND;

struct GlibFree
{
    void operator()(gchar *text) const { g_free(text); }
};

QString errorText(GstMessage *message)
{
    GError *error = nullptr;
    gchar *debug = nullptr;
    gst_message_parse_error(message, &error, &debug);
    const QString text = error ? QString::fromUtf8(error->message) : QString();
    g_clear_error(&error);
    g_free(debug);
    return text;
}

/// One `playbin` with one file. Opened or played to the end it rests in NULL, which gives back
/// the sound output and stops its threads, and plays from the start from there; stopped or
/// paused in the middle it holds its place in PAUSED.
class GstPlayback final : public Playback
{
public:
    GstPlayback(const QString &sink, EndHandler ended) : m_ended(std::move(ended))
    {
        GError *error = nullptr;
        if (!gst_init_check(nullptr, nullptr, &error)) {
            m_initError = QString::fromUtf8(error ? error->message : "GStreamer cannot start");
            g_clear_error(&error);
            return;
        }
        GstElement *playbin = gst_element_factory_make("playbin", nullptr);
        if (!playbin) {
            m_initError = u"GStreamer has no playbin element (gstreamer1.0-plugins-base)."_qs;
            return;
        }
        m_playbin = GST_ELEMENT(gst_object_ref_sink(playbin));
        g_object_set(m_playbin, "flags", PlayAudioOnly, nullptr);
        if (!sink.isEmpty()) {
            GstElement *output =
                gst_parse_bin_from_description(sink.toUtf8().constData(), TRUE, nullptr);
            if (output)
                g_object_set(m_playbin, "audio-sink", output, nullptr);
        }
        GstBus *bus = gst_element_get_bus(m_playbin);
        gst_bus_set_sync_handler(bus, &GstPlayback::onBus, this, nullptr);
        gst_object_unref(bus);
    }

    ~GstPlayback() override
    {
        if (!m_playbin)
            return;
        // NULL joins the streaming threads, so the handler is not running any more.
        gst_element_set_state(m_playbin, GST_STATE_NULL);
        GstBus *bus = gst_element_get_bus(m_playbin);
        gst_bus_set_sync_handler(bus, nullptr, nullptr, nullptr);
        gst_object_unref(bus);
        gst_object_unref(m_playbin);
    }

    std::optional<QString> open(const QString &fileName) override
    {
        if (!m_playbin)
            return m_initError;
        GError *error = nullptr;
        const std::unique_ptr<gchar, GlibFree> uri(
            gst_filename_to_uri(fileName.toUtf8().constData(), &error));
        if (!uri) {
            const QString text = QString::fromUtf8(error ? error->message : "invalid file name");
            g_clear_error(&error);
            return text;
        }
        g_object_set(m_playbin, "uri", uri.get(), nullptr);
        if (gst_element_set_state(m_playbin, GST_STATE_PAUSED) == GST_STATE_CHANGE_FAILURE ||
            gst_element_get_state(m_playbin, nullptr, nullptr, OpenTimeout) !=
                GST_STATE_CHANGE_SUCCESS) {
            const QMutexLocker lock(&m_errorLock);
            return m_error.isEmpty() ? u"The file cannot be opened."_qs : m_error;
        }
        gint64 duration = 0;
        if (gst_element_query_duration(m_playbin, GST_FORMAT_TIME, &duration) && duration > 0)
            m_length = duration / GST_MSECOND;
        rest();
        return std::nullopt;
    }

    qint64 length() const override { return m_length; }

    bool play(bool fromStart) override
    {
        if (fromStart && !m_resting)
            gst_element_seek_simple(m_playbin, GST_FORMAT_TIME,
                                    GstSeekFlags(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE), 0);
        return setState(GST_STATE_PLAYING);
    }

    bool pause() override { return setState(GST_STATE_PAUSED); }
    bool resume() override { return setState(GST_STATE_PLAYING); }

    void rest() override
    {
        gst_element_set_state(m_playbin, GST_STATE_NULL);
        m_resting = true;
    }

private:
    bool setState(GstState state)
    {
        m_resting = false;
        return gst_element_set_state(m_playbin, state) != GST_STATE_CHANGE_FAILURE;
    }

    // Runs on whichever thread posts the message: keeps the first error text for open and
    // reports ends and errors. The bus keeps nothing.
    static GstBusSyncReply onBus(GstBus *, GstMessage *message, gpointer data)
    {
        auto *self = static_cast<GstPlayback *>(data);
        const GstMessageType type = GST_MESSAGE_TYPE(message);
        if (type == GST_MESSAGE_ERROR) {
            const QMutexLocker lock(&self->m_errorLock);
            if (self->m_error.isEmpty())
                self->m_error = errorText(message);
        }
        if (type == GST_MESSAGE_EOS || type == GST_MESSAGE_ERROR)
            self->m_ended(type == GST_MESSAGE_ERROR);
        return GST_BUS_DROP;
    }

    const EndHandler m_ended;
    QString m_initError;
    GstElement *m_playbin = nullptr;
    qint64 m_length = 0;
    bool m_resting = false;
    QMutex m_errorLock;
    QString m_error;
};

#else // without GStreamer no sound can be opened

class GstPlayback final : public Playback
{
public:
    GstPlayback(const QString &, const EndHandler &) {}
    std::optional<QString> open(const QString &) override
    {
        return u"This program was built without GStreamer."_qs;
    }
    qint64 length() const override { return 0; }
    bool play(bool) override { return false; }
    bool pause() override { return false; }
    bool resume() override { return false; }
    void rest() override {}
};

#endif

} // namespace

std::unique_ptr<Playback> makeGstPlayback(const QString &sink, EndHandler ended)
{
    return std::make_unique<GstPlayback>(sink, std::move(ended));
}

} // namespace tockwell::platform::sound
