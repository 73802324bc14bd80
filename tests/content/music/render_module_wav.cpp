// render_module_wav <module.it> <out.wav>: renders a module once through at 32000 Hz stereo to a
// 16-bit WAV file and prints its length and levels, for listening to the generated music.
#include "module_render.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <exception>
#include <fstream>

namespace {

void putLittleEndian(std::ofstream& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) {
        out.put(static_cast<char>((value >> (8 * i)) & 0xFFu));
    }
}

bool writeWav(const char* path, const std::vector<float>& frames) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    const auto dataBytes = static_cast<std::uint32_t>(frames.size() * 2);
    out.write("RIFF", 4);
    putLittleEndian(out, 36 + dataBytes, 4);
    out.write("WAVEfmt ", 8);
    putLittleEndian(out, 16, 4);
    putLittleEndian(out, 1, 2); // PCM
    putLittleEndian(out, 2, 2); // stereo
    putLittleEndian(out, RenderRate, 4);
    putLittleEndian(out, RenderRate * 4, 4);
    putLittleEndian(out, 4, 2);
    putLittleEndian(out, 16, 2);
    out.write("data", 4);
    putLittleEndian(out, dataBytes, 4);
    for (float value : frames) {
        const double clamped = std::clamp(static_cast<double>(value), -1.0, 1.0);
        putLittleEndian(
            out,
            static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clamped * 32767.0))),
            2);
    }
    out.close();
    return static_cast<bool>(out);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: render_module_wav <module.it> <out.wav>\n");
        return 2;
    }
    try {
        const RenderedSong song = renderSong(readBytes(argv[1]));
        const std::size_t frameCount = song.frames.size() / 2;
        std::printf("%s: %.2f s, peak %.3f, rms %.4f, first second rms %.4f\n", argv[1],
                    static_cast<double>(frameCount) / RenderRate, peakLevel(song.frames),
                    rmsLevel(song.frames, 0, frameCount), rmsLevel(song.frames, 0, RenderRate));
        if (!writeWav(argv[2], song.frames)) {
            std::fprintf(stderr, "render_module_wav: cannot write %s\n", argv[2]);
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "render_module_wav: %s\n", error.what());
        return 1;
    }
    return 0;
}
