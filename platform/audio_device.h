#pragma once
// The one SDL audio device, rendering audioMixer() at kMixRate in stereo.
// When no device can be opened the mixer simply is not rendered: sounds and
// music start and stop as usual and nothing is heard. Opening writes nothing
// to the terminal, also when the sound libraries fail.

namespace plat {

enum class AudioDeviceState { Closed, Open, Silent, Manual };

// Opens the device (once; later calls keep the open one). The result says
// whether the device is heard: Silent when none could be opened.
AudioDeviceState openAudioDevice();
void closeAudioDevice();
AudioDeviceState audioDeviceState();

// Test hook: while set, openAudioDevice opens nothing and reports Manual;
// the test renders audioMixer() itself, sample by sample, with no device
// thread racing it.
void setManualAudioRendering(bool manual);

} // namespace plat
