// Music: Impulse Tracker modules played by libopenmpt into SDL's audio callback.
#include <SDL2/SDL.h>
#include <libopenmpt/libopenmpt.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/music_rendering.h"
#include "platform/platform.h"

namespace platform {

namespace {

constexpr int SongSlots = 8;
constexpr std::size_t LargestSongFile = 32u * 1024u * 1024u;
constexpr int OutputChannels = 2;
constexpr Uint16 OutputBufferFrames = 1024;
constexpr int MixChunkFrames = 1024;

// A handle names a slot and the load that filled it, so a handle kept after its song was
// released never reaches the song that took the slot over.
constexpr int HandleSlotBits = 8;
constexpr int HandleSlotMask = (1 << HandleSlotBits) - 1;
constexpr int LargestGeneration = (1 << (31 - HandleSlotBits)) - 1;

struct SongSlot {
    openmpt_module* module = nullptr;
    int generation = 0;
    bool playing = false;
    bool finished = false;
};

// Shared with the audio thread; every access outside the callback holds the device lock.
SongSlot songSlots[SongSlots];
SDL_AudioDeviceID outputDevice = 0;
int outputRate = 0;
bool outputMuted = false;
// Pushed to the event queue when a song plays to its end (an Other message); registered before
// the audio thread starts, read by it afterwards.
Uint32 songEndEvent = 0;
// The callback's scratch: mixing allocates nothing.
std::int16_t mixScratch[MixChunkFrames * OutputChannels];

class AudioLock {
public:
    AudioLock() {
        if (outputDevice != 0) {
            SDL_LockAudioDevice(outputDevice);
        }
    }
    ~AudioLock() {
        if (outputDevice != 0) {
            SDL_UnlockAudioDevice(outputDevice);
        }
    }
    AudioLock(const AudioLock&) = delete;
    AudioLock& operator=(const AudioLock&) = delete;
};

SongHandle makeHandle(int slot, int generation) {
    return (generation << HandleSlotBits) | (slot + 1);
}

// Null for handle 0, a stale handle or anything else that names no loaded song.
SongSlot* slotOf(SongHandle song) {
    if (song <= 0) {
        return nullptr;
    }
    const int slot = (song & HandleSlotMask) - 1;
    const int generation = song >> HandleSlotBits;
    if (slot < 0 || slot >= SongSlots) {
        return nullptr;
    }
    SongSlot& candidate = songSlots[slot];
    if (candidate.module == nullptr || candidate.generation != generation) {
        return nullptr;
    }
    return &candidate;
}

std::int16_t saturated(int value) {
    if (value > INT16_MAX) {
        return INT16_MAX;
    }
    if (value < INT16_MIN) {
        return INT16_MIN;
    }
    return static_cast<std::int16_t>(value);
}

// Renders frames of a song into `out`: added to what is there when `add` is set (the mix), written
// over it otherwise. At the song's end it stops and counts as finished. Returns the frames
// rendered.
int renderInto(SongSlot& song, int sampleRate, std::int16_t* out, int frames, bool add) {
    int done = 0;
    while (done < frames) {
        const int chunk = frames - done < MixChunkFrames ? frames - done : MixChunkFrames;
        std::int16_t* target = add ? mixScratch : out + done * OutputChannels;
        const int rendered = static_cast<int>(openmpt_module_read_interleaved_stereo(
            song.module, sampleRate, static_cast<std::size_t>(chunk), target));
        if (add) {
            std::int16_t* mixed = out + done * OutputChannels;
            for (int i = 0; i < rendered * OutputChannels; ++i) {
                mixed[i] = saturated(mixed[i] + mixScratch[i]);
            }
        }
        done += rendered;
        if (rendered < chunk) {
            song.playing = false;
            song.finished = true;
            break;
        }
    }
    return done;
}

// SDL holds the device lock while this runs.
void fillOutput(void*, Uint8* stream, int length) {
    std::memset(stream, 0, static_cast<std::size_t>(length));
    const int frames = length / static_cast<int>(OutputChannels * sizeof(std::int16_t));
    std::int16_t* out = reinterpret_cast<std::int16_t*>(stream);
    bool songEnded = false;
    for (SongSlot& song : songSlots) {
        if (song.module != nullptr && song.playing) {
            renderInto(song, outputRate, out, frames, true);
            songEnded = songEnded || song.finished;
        }
    }
    // A game waiting on a still screen starts its song again as soon as it ends.
    if (songEnded && songEndEvent != 0) {
        SDL_Event event;
        SDL_zero(event);
        event.type = songEndEvent;
        SDL_PushEvent(&event);
    }
    // Muted, the songs still move on, so a track ends and starts again on time.
    if (outputMuted) {
        std::memset(stream, 0, static_cast<std::size_t>(length));
    }
}

// The whole file, or nothing when it is missing, unreadable or larger than any module we play.
bool readSongFile(const char* path, std::vector<unsigned char>& data) {
    std::FILE* file = openDataFile(path);
    if (file == nullptr) {
        return false;
    }
    bool complete = false;
    unsigned char block[64 * 1024];
    for (;;) {
        const std::size_t got = std::fread(block, 1, sizeof block, file);
        if (data.size() + got > LargestSongFile) {
            break;
        }
        data.insert(data.end(), block, block + got);
        if (got < sizeof block) {
            complete = std::ferror(file) == 0 && std::feof(file) != 0;
            break;
        }
    }
    std::fclose(file);
    if (!complete) {
        std::fprintf(stderr, "tolvar: %s: could not be read whole, or too large for a module\n",
                     path);
    }
    return complete;
}

openmpt_module* createModule(const std::vector<unsigned char>& data) {
    if (data.empty()) {
        return nullptr;
    }
    // "stop": at its end the song renders nothing more, so that the end can be seen and the game
    // decides itself whether it plays again.
    const openmpt_module_initial_ctl controls[] = {{"play.at_end", "stop"}, {nullptr, nullptr}};
    openmpt_module* module = openmpt_module_create_from_memory2(
        data.data(), data.size(), openmpt_log_func_silent, nullptr, openmpt_error_func_ignore,
        nullptr, nullptr, nullptr, controls);
    if (module == nullptr) {
        return nullptr;
    }
    // No repeats inside the player: the game restarts a finished track itself.
    openmpt_module_set_repeat_count(module, 0);
    return module;
}

} // namespace

bool startSoundOutput(int sampleRate) {
    if (outputDevice != 0) {
        return true;
    }
    if (sampleRate <= 0) {
        std::fprintf(stderr, "no audio device: the sample rate %d is not one\n", sampleRate);
        return false;
    }
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "no audio device: %s\n", SDL_GetError());
        return false;
    }
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = sampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = OutputChannels;
    wanted.samples = OutputBufferFrames;
    wanted.callback = fillOutput;
    SDL_AudioSpec obtained;
    // No changes allowed: SDL converts from exactly this format to whatever the device takes.
    const SDL_AudioDeviceID device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (device == 0) {
        std::fprintf(stderr, "no audio device: %s\n", SDL_GetError());
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    outputRate = sampleRate;
    outputDevice = device;
    const Uint32 registered = SDL_RegisterEvents(1);
    songEndEvent = registered == static_cast<Uint32>(-1) ? 0 : registered;
    SDL_PauseAudioDevice(outputDevice, 0);
    return true;
}

SongHandle loadSong(const char* path) {
    if (path == nullptr) {
        return 0;
    }
    std::vector<unsigned char> data;
    if (!readSongFile(path, data)) {
        return 0;
    }
    openmpt_module* module = createModule(data);
    if (module == nullptr) {
        std::fprintf(stderr, "tolvar: %s: not a module that can be played\n", path);
        return 0;
    }
    AudioLock lock;
    for (int slot = 0; slot < SongSlots; ++slot) {
        SongSlot& free = songSlots[slot];
        if (free.module == nullptr) {
            const int generation = free.generation >= LargestGeneration ? 1 : free.generation + 1;
            free = SongSlot{module, generation, false, false};
            return makeHandle(slot, generation);
        }
    }
    // Every slot holds a song nobody released: this one is not kept.
    openmpt_module_destroy(module);
    return 0;
}

void playSong(SongHandle song) {
    AudioLock lock;
    SongSlot* slot = slotOf(song);
    if (slot == nullptr) {
        return;
    }
    openmpt_module_set_position_seconds(slot->module, 0.0);
    slot->playing = true;
    slot->finished = false;
}

void stopSong(SongHandle song) {
    AudioLock lock;
    SongSlot* slot = slotOf(song);
    if (slot != nullptr) {
        slot->playing = false;
        slot->finished = false;
    }
}

bool isSongFinished(SongHandle song) {
    AudioLock lock;
    const SongSlot* slot = slotOf(song);
    return slot != nullptr && slot->finished;
}

void releaseSong(SongHandle song) {
    openmpt_module* module = nullptr;
    {
        AudioLock lock;
        SongSlot* slot = slotOf(song);
        if (slot == nullptr) {
            return;
        }
        module = slot->module;
        slot->module = nullptr;
        slot->playing = false;
        slot->finished = false;
    }
    // Out of the lock: the audio thread no longer sees the module, and freeing takes a while.
    openmpt_module_destroy(module);
}

void setMusicMuted(bool muted) {
    AudioLock lock;
    outputMuted = muted;
}

int renderSongFrames(SongHandle song, int sampleRate, std::int16_t* buffer, int frameCount) {
    if (buffer == nullptr || frameCount <= 0 || sampleRate <= 0) {
        return 0;
    }
    AudioLock lock;
    SongSlot* slot = slotOf(song);
    if (slot == nullptr) {
        return 0;
    }
    return renderInto(*slot, sampleRate, buffer, frameCount, false);
}

} // namespace platform
