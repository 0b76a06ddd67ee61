// audio.h -- a small deterministic synthesiser: oscillators, filters,
// envelopes, a reverb, and the WAV and MP3 writers.
#ifndef ASSETGEN_AUDIO_H
#define ASSETGEN_AUDIO_H

#include <cstddef>
#include <cstdint>
#include <vector>

constexpr int kRate = 44100;

// Stereo buffer of doubles in -1..1 (mono sounds use only the left).
struct Track {
  std::vector<double> l, r;
  explicit Track(size_t frames = 0) : l(frames, 0.0), r(frames, 0.0) {}
  size_t size() const { return l.size(); }
};

// Band-limited oscillators driven by a phase in cycles (0..1).
double OscSine(double phase);
double OscSaw(double phase, double inc);     // inc = cycles per sample
double OscSquare(double phase, double inc, double width = 0.5);
double OscTriangle(double phase);

// Zero-delay-feedback state-variable filter (lowpass, bandpass, highpass).
class Svf {
 public:
  void Set(double cutoffHz, double q);
  double Low(double x);
  double Band(double x);
  double High(double x);
  void Reset() { ic1_ = ic2_ = 0; }

 private:
  void Step(double x);
  double g_ = 0.1, k_ = 1.4, a1_ = 0, a2_ = 0, a3_ = 0;
  double ic1_ = 0, ic2_ = 0, lp_ = 0, bp_ = 0, hp_ = 0;
};

// Attack-decay-sustain-release envelope evaluated at time t of a note of
// the given held length (seconds).
double Adsr(double t, double held, double a, double d, double s, double r);

// Freeverb-style reverb. Circular mode treats the buffer as a loop, so the
// tail at the end feeds the beginning and the loop joins without a seam.
// Returns the reverberated part alone (the dry signal is not included).
Track ReverbWet(const Track& t, double roomSize, double damp, bool circular);
void Reverb(Track& t, double mix, double roomSize, double damp, bool circular);
// Stereo ping-pong echo, also optionally circular; EchoWet gives the
// repeats alone.
Track EchoWet(const Track& t, double seconds, double feedback, bool circular);
void Echo(Track& t, double seconds, double feedback, double mix, bool circular);

// Peak-normalises to the given level (linear, e.g. 0.89 = -1 dBFS).
void Normalise(Track& t, double peak);
// Short fades that keep one-shot effects free of clicks at both ends.
void EdgeFades(Track& t, double inSeconds, double outSeconds);

std::vector<uint8_t> EncodeWavMono16(const Track& t);
// CBR MP3 with a LAME info tag (encoder delay and padding) so decoders that
// honour it play the loop gaplessly.
std::vector<uint8_t> EncodeMp3Stereo(const Track& t, int kbps);

#endif
