#include "cry_sound.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "paint.h"

namespace {

const double twoPi = 6.283185307179586;

// Length of the loop and of the whimper within it; the rest is the pause between cries.
const double loopSeconds = 1.1;
const double whimperSeconds = 0.62;

// The voice: a falling, nasal tone. Relative loudness of the harmonics 1 to 6.
const double harmonics[] = {1.0, 0.55, 0.32, 0.16, 0.08, 0.04};

double pitchAt(double u)
{
    // A short rise to the peak of the cry, then a long fall.
    const double start = 540.0, peak = 740.0, end = 390.0, rise = 0.12;
    if (u < rise) {
        double t = u / rise;
        return start + (peak - start) * t * t * (3.0 - 2.0 * t);
    }
    return peak * std::pow(end / peak, (u - rise) / (1.0 - rise));
}

double envelopeAt(double seconds, double u)
{
    double attack = std::sin(std::min(seconds / 0.05, 1.0) * twoPi / 4);
    double release = 1.0 - smoothStep(0.42f, 1.0f, static_cast<float>(u));
    // A sob-like tremble that grows as the cry fades.
    double tremble = 1.0 - (0.1 + 0.25 * u) * (0.5 + 0.5 * std::sin(twoPi * 7.0 * seconds));
    return attack * attack * release * tremble;
}

}  // namespace

std::vector<int16_t> synthesizeCry()
{
    const int total = static_cast<int>(loopSeconds * cryRate);
    const int voiced = static_cast<int>(whimperSeconds * cryRate);
    std::vector<int16_t> samples(static_cast<size_t>(total), 0);
    double phase = 0.0, breath = 0.0;
    for (int i = 0; i < voiced; ++i) {
        double seconds = static_cast<double>(i) / cryRate;
        double u = static_cast<double>(i) / voiced;
        // A wobbling voice: a slow vibrato plus a little drift from smooth noise.
        double wobble = 1.0 + 0.022 * std::sin(twoPi * 5.5 * seconds) +
                        0.012 * (valueNoise(static_cast<float>(seconds * 18.0), 0.5f, 7u) - 0.5);
        phase += twoPi * pitchAt(u) * wobble / cryRate;
        double tone = 0.0;
        for (size_t h = 0; h < sizeof harmonics / sizeof harmonics[0]; ++h)
            tone += harmonics[h] * std::sin(phase * (h + 1));
        // Breath: white noise from the hash, softened by a one-pole low-pass.
        double white = hashUnit(i, 0, 11u) * 2.0 - 1.0;
        breath += (white - breath) * 0.1;
        double value = (tone / 2.2 + breath * 0.12) * envelopeAt(seconds, u);
        samples[static_cast<size_t>(i)] = static_cast<int16_t>(std::lround(value * 0.55 * 32767.0));
    }
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
