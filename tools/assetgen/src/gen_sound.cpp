// gen_sound.cpp -- the nine effects and the two music loops.
//
// The loops are rendered as circles: a note that rings past the end of the
// last bar continues at the start of the first, and the reverb and echo run
// round the loop until they settle, so the end joins the beginning sample
// for sample. Every bar plays in full, the last one too: the music runs
// into its own start at full level, with no fade or pause at the join. The
// MP3 carries the encoder's delay and padding in its info tag, which the
// game's decoder honours, so no silence comes in between.
#include <string>
#include <vector>

#include "assets.h"
#include "audio.h"
#include "dmath.h"
#include "rng.h"

namespace {

using dm::Sat;

double Midi(double note) { return 440.0 * dm::Pow(2.0, (note - 69.0) / 12.0); }
size_t Frames(double seconds) { return static_cast<size_t>(seconds * kRate + 0.5); }

// ----- one-shot effects -------------------------------------------------------

Track Selecting() {
  Track t(Frames(0.11));
  double ph1 = 0, ph2 = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    double s = static_cast<double>(i) / kRate;
    double f = 1320.0 * (1.0 - 0.08 * Sat(s / 0.05));
    ph1 += f / kRate;
    ph2 += f * 1.5 / kRate;
    double env = Sat(s / 0.003) * dm::Exp(-s / 0.028);
    t.l[i] = (OscSine(ph1) * 0.7 + OscSine(ph2) * 0.25) * env;
  }
  return t;
}

Track MenuToState() {
  Track t(Frames(1.1));
  const double notes[3] = {76, 83, 88};  // E5 B5 E6
  for (int k = 0; k < 3; ++k) {
    double start = k * 0.07;
    double f = Midi(notes[k]);
    double ph = 0;
    for (size_t i = Frames(start); i < t.size(); ++i) {
      double s = static_cast<double>(i) / kRate - start;
      ph += f / kRate;
      double env = Sat(s / 0.004) * dm::Exp(-s / (0.12 + 0.06 * k));
      t.l[i] += (OscTriangle(ph) * 0.5 + OscSine(ph * 2.0) * 0.25) * env * 0.6;
    }
  }
  // Rising air underneath.
  Rng rng(31);
  Svf bp;
  for (size_t i = 0; i < Frames(0.45); ++i) {
    double s = static_cast<double>(i) / kRate;
    bp.Set(600 + 5000 * s / 0.45, 2.0);
    double env = dm::Sin(dm::kPi * s / 0.45);
    t.l[i] += bp.Band(rng.Range(-1, 1)) * env * 0.35;
  }
  for (size_t i = 0; i < t.size(); ++i) t.r[i] = t.l[i];
  Echo(t, 0.11, 0.35, 0.4, false);
  for (size_t i = 0; i < t.size(); ++i) t.l[i] = 0.5 * (t.l[i] + t.r[i]);
  return t;
}

Track Die() {
  Track t(Frames(2.2));
  Rng rng(41);
  Svf lp, lp2;
  double boomPh = 0, sawPh = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    double s = static_cast<double>(i) / kRate;
    lp.Set(4500 * dm::Exp(-s * 2.2) + 120, 0.8);
    double noiseEnv = Sat(s / 0.004) * (dm::Exp(-s / 0.35) * 0.8 + dm::Exp(-s / 1.1) * 0.25);
    double crackle = rng.Unit() < 0.002 * dm::Exp(-s * 2) ? rng.Range(-1, 1) : 0.0;
    double n = lp.Low(rng.Range(-1, 1)) * noiseEnv + crackle * 0.5;
    boomPh += (38 + 70 * dm::Exp(-s * 9)) / kRate;
    double boom = OscSine(boomPh) * dm::Exp(-s / 0.5) * Sat(s / 0.003);
    double f = 440.0 * dm::Exp(-s * 1.9) + 40;
    sawPh += f / kRate;
    lp2.Set(1800 * dm::Exp(-s * 1.5) + 200, 1.2);
    double down = lp2.Low(OscSaw(sawPh, f / kRate)) * Sat(s / 0.02) * dm::Exp(-s / 0.7) * 0.4;
    t.l[i] = dm::Tanh((n * 1.2 + boom * 0.9 + down) * 1.3);
  }
  for (size_t i = 0; i < t.size(); ++i) t.r[i] = t.l[i];
  Reverb(t, 0.25, 0.6, 0.4, false);
  for (size_t i = 0; i < t.size(); ++i) t.l[i] = 0.5 * (t.l[i] + t.r[i]);
  return t;
}

Track Booster() {
  Track t(Frames(0.7));
  Rng rng(51);
  Svf bp, lp;
  double ph = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    double s = static_cast<double>(i) / kRate;
    bp.Set(350 + 3200 * Sat(s / 0.25), 1.6);
    double env = Sat(s / 0.01) * dm::Exp(-s / 0.22);
    double whoosh = bp.Band(rng.Range(-1, 1)) * env * 1.4;
    double f = 180 + 520 * Sat(s / 0.2);
    ph += f / kRate;
    lp.Set(1200, 0.9);
    double tone = lp.Low(OscSaw(ph, f / kRate)) * env * 0.35;
    t.l[i] = dm::Tanh(whoosh + tone);
  }
  return t;
}

Track Fuel() {
  Track t(Frames(0.45));
  const double notes[2] = {84, 91};  // C6 G6
  for (int k = 0; k < 2; ++k) {
    double start = k * 0.06, f = Midi(notes[k]);
    double ph = 0, ph2 = 0;
    for (size_t i = Frames(start); i < t.size(); ++i) {
      double s = static_cast<double>(i) / kRate - start;
      ph += f / kRate;
      ph2 += f * 2.76 / kRate;
      double env = Sat(s / 0.002) * dm::Exp(-s / 0.11);
      t.l[i] += (OscSine(ph) * 0.6 + OscSine(ph2) * 0.22 * dm::Exp(-s / 0.04)) * env;
    }
  }
  // A little shimmer on top.
  Rng rng(61);
  Svf hp;
  hp.Set(7000, 0.7);
  for (size_t i = 0; i < Frames(0.2); ++i) {
    double s = static_cast<double>(i) / kRate;
    t.l[i] += hp.High(rng.Range(-1, 1)) * dm::Exp(-s / 0.05) * 0.12;
  }
  return t;
}

Track Collision() {
  Track t(Frames(0.6));
  Rng rng(71);
  Svf bp;
  bp.Set(1100, 1.1);
  double thump = 0;
  const double ring[3] = {523, 1187, 1733};
  double rph[3] = {0, 0, 0};
  for (size_t i = 0; i < t.size(); ++i) {
    double s = static_cast<double>(i) / kRate;
    thump += (55 + 90 * dm::Exp(-s * 30)) / kRate;
    double low = OscSine(thump) * dm::Exp(-s / 0.09) * Sat(s / 0.002);
    double crunch = bp.Band(rng.Range(-1, 1)) * dm::Exp(-s / 0.05) * 2.0;
    double metal = 0;
    for (int k = 0; k < 3; ++k) {
      rph[k] += ring[k] / kRate;
      metal += OscSine(rph[k]) * dm::Exp(-s / (0.22 - 0.05 * k)) / (k + 1.5);
    }
    t.l[i] = dm::Tanh(low * 1.1 + crunch + metal * 0.35 * Sat(s / 0.003));
  }
  return t;
}

Track Warp() {
  Track t(Frames(3.4));
  Rng rng(81);
  Svf lpL, bp;
  double ph[3] = {0, 0.3, 0.6};
  const double detune[3] = {-0.08, 0.0, 0.07};
  for (size_t i = 0; i < t.size(); ++i) {
    double s = static_cast<double>(i) / kRate;
    double rise = Sat(s / 2.6);
    double f = 110.0 * dm::Pow(2.0, rise * 1.6);
    double sum = 0;
    for (int k = 0; k < 3; ++k) {
      double fk = f * dm::Pow(2.0, detune[k] / 12.0);
      ph[k] += fk / kRate;
      sum += OscSaw(ph[k], fk / kRate);
    }
    lpL.Set(200 + 5500 * rise * rise, 2.5);
    double env = Sat(s / 0.3) * (s < 2.8 ? 1.0 : dm::Exp(-(s - 2.8) / 0.2));
    double synth = lpL.Low(sum / 3.0) * env;
    bp.Set(500 + 7000 * rise, 1.2);
    double air = bp.Band(rng.Range(-1, 1)) * env * (0.3 + rise);
    t.l[i] = dm::Tanh((synth * 0.8 + air * 0.6) * 1.2);
    t.r[i] = t.l[i];
  }
  // A bright chord lands as the ship jumps.
  const double chord[4] = {74, 78, 81, 86};
  for (int k = 0; k < 4; ++k) {
    double start = 2.55 + k * 0.03, f = Midi(chord[k]);
    double p = 0;
    for (size_t i = Frames(start); i < t.size(); ++i) {
      double s = static_cast<double>(i) / kRate - start;
      p += f / kRate;
      double v = OscTriangle(p) * Sat(s / 0.005) * dm::Exp(-s / 0.3) * 0.25;
      t.l[i] += v * (k % 2 ? 0.6 : 1.0);
      t.r[i] += v * (k % 2 ? 1.0 : 0.6);
    }
  }
  Reverb(t, 0.3, 0.7, 0.3, false);
  for (size_t i = 0; i < t.size(); ++i) t.l[i] = 0.5 * (t.l[i] + t.r[i]);
  return t;
}

Track BulletCollision() {
  Track t(Frames(0.45));
  Rng rng(91);
  Svf lp;
  double ph = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    double s = static_cast<double>(i) / kRate;
    lp.Set(6000 * dm::Exp(-s * 9) + 300, 0.9);
    double n = lp.Low(rng.Range(-1, 1)) * Sat(s / 0.002) * dm::Exp(-s / 0.09);
    double f = 900 * dm::Exp(-s * 12) + 120;
    ph += f / kRate;
    double zap = OscSquare(ph, f / kRate, 0.3) * dm::Exp(-s / 0.06) * 0.35;
    t.l[i] = dm::Tanh((n * 1.6 + zap) * 1.2);
  }
  return t;
}

Track Antigravity() {
  Track t(Frames(1.5));
  Rng rng(101);
  Svf bp1, bp2;
  double ph = 0, ph2 = 0;
  for (size_t i = 0; i < t.size(); ++i) {
    double s = static_cast<double>(i) / kRate;
    double swell = dm::Sin(dm::kPi * Sat(s / 1.35));
    double wob = 0.5 + 0.5 * dm::Sin(dm::kTwoPi * 7.0 * s);
    ph += (70 + 30 * s) / kRate;
    ph2 += (105 + 45 * s) / kRate;
    double low = (OscSine(ph) + 0.5 * OscSine(ph2)) * swell * (0.6 + 0.4 * wob);
    double sweep = 300 + 1400 * dm::Sin(dm::kPi * Sat(s / 1.2));
    bp1.Set(sweep, 4.0);
    bp2.Set(sweep * 1.7, 4.0);
    double n = rng.Range(-1, 1);
    double air = (bp1.Band(n) + bp2.Band(n) * 0.6) * swell * 0.9;
    t.l[i] = dm::Tanh(low * 0.7 + air);
  }
  return t;
}

// ----- music -------------------------------------------------------------------

enum Inst { kPad, kPluck, kBell, kBass, kArp, kLead, kKick, kSnare, kHat, kOpenHat, kSub, kCrash };

struct Note {
  double start, len;  // seconds
  double pitch;       // MIDI note
  double vel;
  Inst inst;
  double pan;  // -1 left .. 1 right
};

// Renders one note into the buffer, wrapping round the loop's end.
void Render(Track& bus, const Note& n, uint32_t seed) {
  size_t total = bus.size();
  double f = Midi(n.pitch);
  double release = 0.05;
  switch (n.inst) {
    case kPad: release = 0.6; break;
    case kBell: release = 2.0; break;
    case kPluck: release = 0.9; break;
    case kLead: release = 0.25; break;
    case kBass: release = 0.06; break;
    case kArp: release = 0.3; break;
    case kKick: release = 0.45; break;
    case kSnare: release = 0.3; break;
    case kOpenHat: release = 0.3; break;
    case kSub: release = 0.2; break;
    case kCrash: release = 1.6; break;
    default: release = 0.08; break;
  }
  size_t len = Frames(n.len + release);
  size_t start = Frames(n.start);
  Rng rng(seed);
  Svf filt, filt2;
  double ph[4] = {0, 0.25, 0.5, 0.75}, mod = 0;
  double gl = dm::Sqrt(0.5 * (1 - n.pan)), gr = dm::Sqrt(0.5 * (1 + n.pan));
  for (size_t i = 0; i < len; ++i) {
    double s = static_cast<double>(i) / kRate;
    double v = 0;
    switch (n.inst) {
      case kPad: {
        const double det[3] = {-0.11, 0.0, 0.12};
        for (int k = 0; k < 3; ++k) {
          double fk = f * dm::Pow(2.0, det[k] / 12.0);
          ph[k] += fk / kRate;
          v += OscSaw(ph[k], fk / kRate);
        }
        ph[3] += f * 0.5 / kRate;
        filt.Set(700 + 500 * dm::Sin(dm::kPi * Sat(s / (n.len + 1e-9))), 0.7);
        v = filt.Low(v / 3.0) + OscSine(ph[3]) * 0.25;
        v *= Adsr(s, n.len, 0.45, 0.5, 0.85, release);
        break;
      }
      case kPluck: {
        ph[0] += f / kRate;
        ph[1] += f * 2.0 / kRate;
        double env = Sat(s / 0.003) * dm::Exp(-s / 0.32);
        v = (OscTriangle(ph[0]) * 0.8 + OscSine(ph[1]) * 0.2 * dm::Exp(-s / 0.08)) * env;
        if (s > n.len) v *= Sat(1 - (s - n.len) / release);
        break;
      }
      case kBell: {
        ph[0] += f / kRate;
        mod += f * 3.5 / kRate;
        double index = 2.0 * dm::Exp(-s / 0.25);
        v = dm::Sin(dm::kTwoPi * ph[0] + index * OscSine(mod)) * Sat(s / 0.004) * dm::Exp(-s / 0.9);
        if (s > n.len) v *= Sat(1 - (s - n.len) / release);
        break;
      }
      case kBass: {
        ph[0] += f / kRate;
        filt.Set(160 + 900 * dm::Exp(-s / 0.06), 1.1);
        v = filt.Low(OscSaw(ph[0], f / kRate)) * 0.8 + OscSine(ph[0]) * 0.5;
        v *= Adsr(s, n.len, 0.004, 0.1, 0.75, release);
        break;
      }
      case kSub: {
        ph[0] += f / kRate;
        v = OscSine(ph[0]) * Adsr(s, n.len, 0.05, 0.2, 0.9, release);
        break;
      }
      case kArp: {
        ph[0] += f / kRate;
        filt.Set(600 + 3200 * dm::Exp(-s / 0.05), 1.3);
        v = filt.Low(OscSquare(ph[0], f / kRate, 0.25)) * Sat(s / 0.002) * dm::Exp(-s / 0.12);
        if (s > n.len) v *= Sat(1 - (s - n.len) / release);
        break;
      }
      case kLead: {
        double vib = s > 0.15 ? 0.18 * dm::Sin(dm::kTwoPi * 5.5 * s) * Sat((s - 0.15) / 0.2) : 0.0;
        double fv = f * dm::Pow(2.0, vib / 12.0);
        ph[0] += fv / kRate;
        ph[1] += fv * 1.004 / kRate;
        filt.Set(2400, 0.9);
        v = filt.Low(OscSaw(ph[0], fv / kRate) * 0.6 + OscSquare(ph[1], fv / kRate, 0.5) * 0.4);
        v *= Adsr(s, n.len, 0.01, 0.15, 0.7, release);
        break;
      }
      case kKick: {
        ph[0] += (45 + 110 * dm::Exp(-s / 0.03)) / kRate;
        v = OscSine(ph[0]) * dm::Exp(-s / 0.22) * Sat(s / 0.001);
        v += rng.Range(-1, 1) * dm::Exp(-s / 0.004) * 0.2 * Sat(s / 0.0005);
        v = dm::Tanh(v * 1.5);
        break;
      }
      case kSnare: {
        ph[0] += 190 * (1 + 0.3 * dm::Exp(-s / 0.02)) / kRate;
        filt.Set(1900, 0.9);
        double noise = filt.Band(rng.Range(-1, 1)) * dm::Exp(-s / 0.09) * 1.6;
        v = noise + OscSine(ph[0]) * dm::Exp(-s / 0.05) * 0.6;
        v *= Sat(s / 0.001);
        break;
      }
      case kCrash: {
        filt.Set(5200, 0.6);
        filt2.Set(9000, 0.9);
        double white = rng.Range(-1, 1);
        v = (filt.High(white) * 0.7 + filt2.Band(white) * 0.5) * dm::Exp(-s / 0.55) * Sat(s / 0.001);
        break;
      }
      case kHat:
      case kOpenHat: {
        filt.Set(7500, 0.8);
        double decay = n.inst == kHat ? 0.035 : 0.18;
        v = filt.High(rng.Range(-1, 1)) * dm::Exp(-s / decay) * Sat(s / 0.0008);
        break;
      }
    }
    // Decaying drums are cut when their time is up: ease the last 10 ms so
    // the cut never clicks.
    v *= n.vel * Sat(static_cast<double>(len - i) / (0.01 * kRate));
    size_t idx = (start + i) % total;
    bus.l[idx] += v * gl;
    bus.r[idx] += v * gr;
  }
}

// Echo and reverb for a loop. Both are circular, so the tails of the last
// bars ring on into the first and the loop joins at full level, with no
// fade and no seam.
Track LoopEffects(const Track& dry, double echoSeconds, double echoFeedback, double echoMix, double reverbMix,
                  double room, double damp) {
  Track echo = EchoWet(dry, echoSeconds, echoFeedback, true);
  Track sum(dry.size());
  for (size_t i = 0; i < dry.size(); ++i) {
    sum.l[i] = dry.l[i] + echo.l[i] * echoMix;
    sum.r[i] = dry.r[i] + echo.r[i] * echoMix;
  }
  Track verb = ReverbWet(sum, room, damp, true);
  Track out(dry.size());
  for (size_t i = 0; i < dry.size(); ++i) {
    out.l[i] = dry.l[i] * (1 - reverbMix * 0.5) + echo.l[i] * echoMix + verb.l[i] * reverbMix;
    out.r[i] = dry.r[i] * (1 - reverbMix * 0.5) + echo.r[i] * echoMix + verb.r[i] * reverbMix;
  }
  return out;
}

struct Chord {
  double root;                // MIDI bass note
  std::vector<double> tones;  // pad and arpeggio notes
};

// Calm loop for the menu screens: A minor, 84 beats a minute, twelve bars.
Track MenuMusic() {
  const double bpm = 84, beat = 60.0 / bpm, bar = beat * 4;
  const int bars = 12;
  Track music(Frames(bar * bars));
  const Chord chords[4] = {
      {45, {57, 60, 64, 67, 71}},  // Am9
      {41, {53, 57, 60, 64, 69}},  // Fmaj7
      {48, {55, 60, 64, 67, 71}},  // Cmaj7
      {43, {55, 59, 62, 64, 67}},  // G6
  };
  std::vector<Note> notes;
  for (int b = 0; b < bars; ++b) {
    const Chord& c = chords[b % 4];
    double t0 = b * bar;
    // Every bar plays in full: what rings past the end wraps round into the
    // first bar, so the loop runs on without a break.
    for (size_t k = 0; k < 4; ++k) notes.push_back({t0, bar - 0.1, c.tones[k], 0.16, kPad, -0.5 + k * 0.33});
    notes.push_back({t0, bar - 0.05, c.root, 0.33, kSub, 0.0});
    // A soft shaker on the off-beats once the melody has come in.
    if (b >= 4)
      for (int e = 1; e < 8; e += 2) notes.push_back({t0 + e * beat * 0.5, 0.05, 0, 0.05, kHat, 0.35});
    // Pluck arpeggio in eighths, up and back down.
    const int order[8] = {0, 2, 4, 3, 1, 3, 2, 4};
    for (int e = 0; e < 8; ++e) {
      double p = c.tones[order[e]] + (e >= 4 ? 12 : 0);
      notes.push_back({t0 + e * beat * 0.5, beat * 0.45, p, 0.2 + 0.06 * (e % 2 == 0), kPluck, e % 2 ? 0.45 : -0.45});
    }
  }
  // Bell melody over the second and third passes.
  const double melody[][3] = {
      // bar, beat, note
      {4, 0, 76}, {4, 1.5, 79}, {4, 3, 81}, {5, 0, 79}, {5, 2, 76}, {6, 0, 74}, {6, 1.5, 76}, {6, 3, 79},
      {7, 0, 74}, {7, 2, 72}, {8, 0, 76}, {8, 1.5, 81}, {8, 3, 83}, {9, 0, 84}, {9, 2, 81}, {10, 0, 79},
      {10, 2, 76}, {10, 3, 74},
  };
  for (const auto& m : melody) notes.push_back({m[0] * bar + m[1] * beat, beat * 1.2, m[2], 0.17, kBell, 0.2});
  uint32_t seed = 1;
  for (const Note& n : notes) Render(music, n, seed++);
  Track out = LoopEffects(music, beat * 0.75, 0.4, 0.35, 0.35, 0.8, 0.35);
  Normalise(out, 0.7);
  return out;
}

// Driving loop for play: D minor, 128 beats a minute, twenty bars.
Track GameMusic() {
  const double bpm = 128, beat = 60.0 / bpm, bar = beat * 4, six = beat / 4;
  const int bars = 20;
  Track drums(Frames(bar * bars)), music(Frames(bar * bars));
  const Chord chords[4] = {
      {38, {62, 65, 69, 74}},  // Dm
      {34, {62, 65, 70, 74}},  // Bb
      {41, {60, 65, 69, 72}},  // F
      {36, {60, 64, 67, 72}},  // C
  };
  std::vector<Note> dn, mn;
  for (int b = 0; b < bars; ++b) {
    const Chord& c = chords[b % 4];
    double t0 = b * bar;
    bool last = b == bars - 1;
    bool full = b >= 4;
    bool breakdown = b >= 16;
    for (int q = 0; q < 4; ++q) {
      if (!(breakdown && b < 18)) dn.push_back({t0 + q * beat, 0.3, 0, 0.95, kKick, 0});
      if (full && (q == 1 || q == 3)) dn.push_back({t0 + q * beat, 0.2, 0, 0.5, kSnare, 0.1});
    }
    for (int e = 0; e < 8; ++e) {
      bool off = e % 2 == 1;
      dn.push_back({t0 + e * beat * 0.5, 0.05, 0, off ? 0.22 : 0.12, off && full ? kOpenHat : kHat, -0.3});
    }
    if (b == 4 || b == 12) dn.push_back({t0, 0.1, 0, 0.35, kCrash, 0.35});
    if (b == 7 || b == 15) {  // a short fill into the next section
      for (int s = 12; s < 16; ++s) dn.push_back({t0 + s * six, 0.1, 0, 0.3 + 0.05 * (s - 12), kSnare, 0.2});
    }
    if (last) {  // a snare run into the top of the loop
      for (int s = 8; s < 14; ++s) dn.push_back({t0 + s * six, 0.1, 0, 0.25 + 0.03 * s, kSnare, -0.1});
    }
    // Pulsing bass in eighths.
    for (int e = 0; e < 8; ++e) {
      double p = c.root + ((e == 3 || e == 7) ? 12 : 0);
      mn.push_back({t0 + e * beat * 0.5, beat * 0.38, p, 0.42, kBass, 0});
    }
    // Pads release 0.6 s after their length; the last bar's release rings
    // on over the top of the loop.
    for (size_t k = 0; k < c.tones.size(); ++k)
      mn.push_back({t0, bar - 0.05, c.tones[k], full ? 0.08 : 0.11, kPad, -0.6 + k * 0.4});
    if (full) {
      const int order[16] = {0, 1, 2, 3, 2, 1, 0, 1, 2, 3, 2, 3, 1, 2, 0, 3};
      for (int s = 0; s < 16; ++s) {
        double p = c.tones[order[s]] + 12;
        mn.push_back({t0 + s * six, six * 0.8, p, breakdown ? 0.16 : 0.12, kArp, s % 2 ? 0.5 : -0.5});
      }
    }
  }
  // Lead melody for bars 13-16.
  const double melody[][3] = {
      {12, 0, 74}, {12, 1, 77}, {12, 2, 81}, {12, 3, 79}, {13, 0, 77}, {13, 1.5, 74}, {13, 3, 72},
      {14, 0, 72}, {14, 1, 77}, {14, 2, 81}, {14, 3, 84}, {15, 0, 84}, {15, 1.5, 83}, {15, 2.5, 79},
  };
  for (const auto& m : melody) mn.push_back({m[0] * bar + m[1] * beat, beat * 0.9, m[2], 0.2, kLead, 0.15});
  uint32_t seed = 1000;
  for (const Note& n : dn) Render(drums, n, seed++);
  for (const Note& n : mn) Render(music, n, seed++);
  music = LoopEffects(music, beat * 0.75, 0.35, 0.25, 0.2, 0.6, 0.4);
  drums = LoopEffects(drums, beat * 0.5, 0.0, 0.0, 0.08, 0.4, 0.5);
  // Duck the music under each kick so the beat drives.
  std::vector<double> duck(music.size(), 1.0);
  for (const Note& k : dn) {
    if (k.inst != kKick) continue;
    size_t s0 = Frames(k.start);
    for (size_t i = 0; i < Frames(0.2); ++i) {
      double s = static_cast<double>(i) / kRate;
      size_t idx = (s0 + i) % duck.size();
      duck[idx] = dm::Min(duck[idx], 1.0 - 0.45 * dm::Exp(-s / 0.07));
    }
  }
  Track mix(music.size());
  for (size_t i = 0; i < mix.size(); ++i) {
    mix.l[i] = dm::Tanh((drums.l[i] * 0.9 + music.l[i] * duck[i]) * 1.1);
    mix.r[i] = dm::Tanh((drums.r[i] * 0.9 + music.r[i] * duck[i]) * 1.1);
  }
  Normalise(mix, 0.79);
  return mix;
}

void AddEffect(AssetList& out, const std::string& name, Track (*make)(), double fadeIn, double fadeOut, double peak) {
  out.push_back({"Audio_Assets/SE/" + name, [=]() {
                   Track t = make();
                   EdgeFades(t, fadeIn, fadeOut);
                   Normalise(t, peak);
                   return EncodeWavMono16(t);
                 }});
}

}  // namespace

void AddSounds(AssetList& out) {
  AddEffect(out, "SE_Selecting.wav", Selecting, 0.001, 0.01, 0.6);
  AddEffect(out, "SE_MenuToState.wav", MenuToState, 0.001, 0.05, 0.75);
  AddEffect(out, "SE_Die.wav", Die, 0.001, 0.2, 0.9);
  AddEffect(out, "SE_Booster.wav", Booster, 0.002, 0.08, 0.8);
  AddEffect(out, "SE_Fuel.wav", Fuel, 0.001, 0.05, 0.7);
  AddEffect(out, "SE_Collision.wav", Collision, 0.001, 0.05, 0.85);
  AddEffect(out, "SE_WarpSound.wav", Warp, 0.002, 0.2, 0.8);
  AddEffect(out, "SE_BulletCollision.wav", BulletCollision, 0.001, 0.05, 0.8);
  AddEffect(out, "SE_Antigravity.wav", Antigravity, 0.002, 0.08, 0.65);
  out.push_back({"Audio_Assets/BGM/BGM_MENU.mp3", []() { return EncodeMp3Stereo(MenuMusic(), 128); }});
  out.push_back({"Audio_Assets/BGM/BGM_GAME.mp3", []() { return EncodeMp3Stereo(GameMusic(), 128); }});
}
