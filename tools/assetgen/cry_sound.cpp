#include "cry_sound.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "paint.h"

namespace {

const double twoPi = 6.283185307179586;

// One loop: three different whimpers with pauses between them, so the repeat is not obvious.
// The loop starts and ends in silence, so the seam cannot click.
const double loopSeconds = 3.6;
// Loudest sample of the loop, about -1 dBFS.
const double peakLevel = 0.89;

struct Whimper {
    double start, length;        // seconds
    double pitchStart, pitchPeak, pitchEnd;  // Hz
    double peakAt;               // fraction of the length where the pitch tops out
    double breathiness;          // noise against voice, 0 .. 1
    double vowelShift;           // how far the resonances glide, as a fraction of their frequency
    uint32_t seed;
};

// A short questioning whine, a quick high yelp, and a long falling sob that breaks in the middle.
const Whimper whimpers[] = {
    {0.12, 0.58, 560.0, 800.0, 470.0, 0.30, 0.35, 0.10, 3u},
    {1.22, 0.34, 690.0, 900.0, 640.0, 0.45, 0.25, -0.08, 5u},
    {2.02, 0.95, 600.0, 760.0, 360.0, 0.18, 0.45, 0.14, 9u},
};

// Resonances of a small throat: centre (Hz), bandwidth (Hz) and weight. They shape a rich
// pulse train and the breath noise alike, which is what makes the sound a voice.
struct Resonance {
    double centre, bandwidth, weight;
};
const Resonance resonances[] = {{1050.0, 160.0, 1.0}, {2300.0, 220.0, 0.55}, {3700.0, 380.0, 0.25}};
constexpr int resonanceCount = sizeof resonances / sizeof resonances[0];

// A two-pole band-pass whose centre may move sample by sample.
struct Resonator {
    double y1 = 0.0, y2 = 0.0;
    double step(double x, double centre, double bandwidth)
    {
        const double r = std::exp(-3.141592653589793 * bandwidth / cryRate);
        const double c = 2.0 * r * std::cos(twoPi * centre / cryRate);
        const double y = (1.0 - r) * x + c * y1 - r * r * y2;
        y2 = y1;
        y1 = y;
        return y;
    }
};

double smooth(double x)
{
    x = std::min(std::max(x, 0.0), 1.0);
    return x * x * (3.0 - 2.0 * x);
}

double noiseAt(double seconds, double rate, uint32_t seed)
{
    return valueNoise(static_cast<float>(seconds * rate), 0.5f, seed) * 2.0 - 1.0;
}

double pitchAt(const Whimper& w, double u)
{
    if (u < w.peakAt) return w.pitchStart + (w.pitchPeak - w.pitchStart) * smooth(u / w.peakAt);
    return w.pitchPeak * std::pow(w.pitchEnd / w.pitchPeak, smooth((u - w.peakAt) / (1.0 - w.peakAt)));
}

// Adds one whimper into out, which is long enough to hold it.
void addWhimper(const Whimper& w, std::vector<double>& out)
{
    const int first = static_cast<int>(w.start * cryRate);
    const int count = static_cast<int>(w.length * cryRate);
    Resonator voiceFilters[resonanceCount], breathFilters[resonanceCount];
    double phase = 0.0;
    for (int i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / cryRate;
        const double u = static_cast<double>(i) / count;
        // Irregular waver: two bands of smooth noise on the pitch and on the loudness.
        const double waver = 1.0 + 0.035 * noiseAt(t, 7.0, w.seed) + 0.012 * noiseAt(t, 31.0, w.seed + 1u);
        const double shimmer = 1.0 + 0.22 * noiseAt(t, 11.0, w.seed + 2u);
        const double f0 = pitchAt(w, u) * waver;
        phase += f0 / cryRate;
        phase -= std::floor(phase);
        // A pulse train rich in harmonics (a soft sawtooth, band-limited below 5 kHz).
        double pulse = 0.0;
        for (int h = 1; h * f0 < 5000.0; ++h) pulse += std::sin(twoPi * h * phase) / h;
        // Breath: white noise, stronger at the onset and where the voice breaks.
        const double white = hashUnit(i, static_cast<int32_t>(w.seed), 11u) * 2.0 - 1.0;
        const double onset = 1.0 - smooth(t / 0.09);
        const double sobBreak = w.length > 0.8 ? 1.0 - 0.85 * std::exp(-std::pow((u - 0.47) / 0.05, 2.0)) : 1.0;
        const double voiceLevel = (1.0 - 0.8 * onset) * sobBreak;
        const double breathLevel = w.breathiness * (0.35 + 1.6 * onset);
        // The resonances glide as the whimper goes on, like a mouth closing.
        const double glide = 1.0 + w.vowelShift * (u - 0.5);
        double voice = 0.0, breath = 0.0;
        for (int k = 0; k < resonanceCount; ++k) {
            const Resonance& r = resonances[k];
            voice += r.weight * voiceFilters[k].step(pulse, r.centre * glide, r.bandwidth);
            breath += r.weight * breathFilters[k].step(white * 3.0, r.centre * glide, r.bandwidth * 2.0);
        }
        // Swell in, fall away; both ends reach zero so each whimper starts and ends in silence.
        const double envelope = smooth(t / 0.06) * (1.0 - smooth((u - 0.55) / 0.45)) * shimmer;
        out[static_cast<size_t>(first + i)] += envelope * (voiceLevel * voice + breathLevel * breath);
    }
}

}  // namespace

std::vector<int16_t> synthesizeCry()
{
    const size_t total = static_cast<size_t>(loopSeconds * cryRate);
    std::vector<double> mix(total, 0.0);
    for (const Whimper& w : whimpers) addWhimper(w, mix);
    double peak = 0.0;
    for (double v : mix) peak = std::max(peak, std::fabs(v));
    const double gain = peak > 0.0 ? peakLevel * 32767.0 / peak : 0.0;
    std::vector<int16_t> samples(total);
    for (size_t i = 0; i < total; ++i) samples[i] = static_cast<int16_t>(std::lround(mix[i] * gain));
    return samples;
}

bool writeOggVorbis(const char* path, const std::vector<int16_t>& samples, int rate)
{
    FILE* file = std::fopen(path, "wb");
    if (!file)
        return false;

    vorbis_info info;
    vorbis_info_init(&info);
    if (vorbis_encode_init_vbr(&info, 1, rate, 0.4f) != 0) {
        vorbis_info_clear(&info);
        std::fclose(file);
        return false;
    }
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_comment_add_tag(&comment, "TITLE", "Chip cry");
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 0x51554D31);

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&dsp, &comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&stream, &header);
    ogg_stream_packetin(&stream, &headerComment);
    ogg_stream_packetin(&stream, &headerCode);
    ogg_page page;
    bool ok = true;
    while (ogg_stream_flush(&stream, &page) != 0) {
        ok = ok && std::fwrite(page.header, 1, page.header_len, file) == static_cast<size_t>(page.header_len);
        ok = ok && std::fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len);
    }

    const size_t chunk = 1024;
    size_t next = 0;
    bool endOfStream = false;
    while (!endOfStream) {
        if (next < samples.size()) {
            size_t n = std::min(chunk, samples.size() - next);
            float** buffer = vorbis_analysis_buffer(&dsp, static_cast<int>(n));
            for (size_t i = 0; i < n; ++i)
                buffer[0][i] = samples[next + i] / 32768.0f;
            vorbis_analysis_wrote(&dsp, static_cast<int>(n));
            next += n;
        } else {
            vorbis_analysis_wrote(&dsp, 0);
        }
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            ogg_packet packet;
            while (vorbis_bitrate_flushpacket(&dsp, &packet) == 1) {
                ogg_stream_packetin(&stream, &packet);
                while (!endOfStream && ogg_stream_pageout(&stream, &page) != 0) {
                    ok = ok && std::fwrite(page.header, 1, page.header_len, file) ==
                                   static_cast<size_t>(page.header_len);
                    ok = ok && std::fwrite(page.body, 1, page.body_len, file) == static_cast<size_t>(page.body_len);
                    endOfStream = ogg_page_eos(&page) != 0;
                }
            }
        }
    }

    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return std::fclose(file) == 0 && ok;
}
