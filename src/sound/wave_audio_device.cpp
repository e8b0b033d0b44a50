#include "sound/wave_audio_device.h"

#include <utility>

void WaveAudioDevice::open(std::string file) { openWith(std::move(file), " type waveaudio"); }
