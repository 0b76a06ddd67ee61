#include "audio.h"

#include <lame/lame.h>

#include <cstring>
#include <mutex>

#include "dmath.h"

namespace {

// Polynomial band-limited step, removes most of the aliasing of the saw and
// square edges.
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

int16_t ToPcm(double v) {
  v = dm::Clamp(v, -1.0, 1.0) * 32767.0;
  return static_cast<int16_t>(v < 0 ? v - 0.5 : v + 0.5);
}

void PutLe(std::vector<uint8_t>& out, uint32_t v, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>((v >> (8 * i)) & 0xFF));
}

}  // namespace

double OscSine(double phase) { return dm::Sin(phase * dm::kTwoPi); }

double OscSaw(double phase, double inc) {
  double p = dm::Fract(phase);
  return 2.0 * p - 1.0 - PolyBlep(p, inc);
}

double OscSquare(double phase, double inc, double width) {
  double p = dm::Fract(phase);
  double v = p < width ? 1.0 : -1.0;
  v += PolyBlep(p, inc);
  v -= PolyBlep(dm::Fract(p + 1.0 - width), inc);
  return v;
}

double OscTriangle(double phase) {
  double p = dm::Fract(phase);
  return p < 0.5 ? 4.0 * p - 1.0 : 3.0 - 4.0 * p;
}

void Svf::Set(double cutoffHz, double q) {
  cutoffHz = dm::Clamp(cutoffHz, 10.0, kRate * 0.45);
  double w = dm::kPi * cutoffHz / kRate;
  g_ = dm::Sin(w) / dm::Cos(w);
  k_ = 1.0 / dm::Max(q, 0.05);
  a1_ = 1.0 / (1.0 + g_ * (g_ + k_));
  a2_ = g_ * a1_;
  a3_ = g_ * a2_;
}

void Svf::Step(double x) {
  double v3 = x - ic2_;
  double v1 = a1_ * ic1_ + a2_ * v3;
  double v2 = ic2_ + a2_ * ic1_ + a3_ * v3;
  ic1_ = 2.0 * v1 - ic1_;
  ic2_ = 2.0 * v2 - ic2_;
  lp_ = v2;
  bp_ = v1;
  hp_ = x - k_ * v1 - v2;
}

double Svf::Low(double x) {
  Step(x);
  return lp_;
}
double Svf::Band(double x) {
  Step(x);
  return bp_;
}
double Svf::High(double x) {
  Step(x);
  return hp_;
}

double Adsr(double t, double held, double a, double d, double s, double r) {
  if (t < 0) return 0.0;
  auto level = [&](double tt) {
    if (tt < a) return tt / a;
    if (tt < a + d) return 1.0 - (1.0 - s) * ((tt - a) / d);
    return s;
  };
  if (t < held) return level(t);
  double from = level(held);
  double rt = t - held;
  return rt >= r ? 0.0 : from * (1.0 - rt / r);
}

namespace {

struct Comb {
  std::vector<double> buf;
  size_t pos = 0;
  double store = 0;
  double Process(double x, double feedback, double damp) {
    double out = buf[pos];
    store = out * (1 - damp) + store * damp;
    buf[pos] = x + store * feedback;
    if (++pos >= buf.size()) pos = 0;
    return out;
  }
};

struct Allpass {
  std::vector<double> buf;
  size_t pos = 0;
  double Process(double x) {
    double b = buf[pos];
    double out = -x + b;
    buf[pos] = x + b * 0.5;
    if (++pos >= buf.size()) pos = 0;
    return out;
  }
};

}  // namespace

Track ReverbWet(const Track& t, double roomSize, double damp, bool circular) {
  static const int kCombs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
  static const int kAllpasses[4] = {556, 441, 341, 225};
  const int spread = 23;
  Comb combL[8], combR[8];
  Allpass apL[4], apR[4];
  for (int i = 0; i < 8; ++i) {
    combL[i].buf.assign(kCombs[i], 0.0);
    combR[i].buf.assign(kCombs[i] + spread, 0.0);
  }
  for (int i = 0; i < 4; ++i) {
    apL[i].buf.assign(kAllpasses[i], 0.0);
    apR[i].buf.assign(kAllpasses[i] + spread, 0.0);
  }
  double feedback = 0.7 + roomSize * 0.28;
  size_t n = t.size();
  Track wet(n);
  std::vector<double>& wetL = wet.l;
  std::vector<double>& wetR = wet.r;
  // In circular mode the loop runs twice and only the second pass is kept,
  // so the state at the start already holds the end's tail.
  int passes = circular ? 2 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    for (size_t i = 0; i < n; ++i) {
      double in = (t.l[i] + t.r[i]) * 0.015;
      double l = 0, r = 0;
      for (int c = 0; c < 8; ++c) {
        l += combL[c].Process(in, feedback, damp);
        r += combR[c].Process(in, feedback, damp);
      }
      for (int a = 0; a < 4; ++a) {
        l = apL[a].Process(l);
        r = apR[a].Process(r);
      }
      wetL[i] = l;
      wetR[i] = r;
    }
  }
  for (size_t i = 0; i < n; ++i) {
    wetL[i] *= 3.0;
    wetR[i] *= 3.0;
  }
  return wet;
}

void Reverb(Track& t, double mix, double roomSize, double damp, bool circular) {
  Track wet = ReverbWet(t, roomSize, damp, circular);
  for (size_t i = 0; i < t.size(); ++i) {
    t.l[i] = t.l[i] * (1 - mix * 0.5) + wet.l[i] * mix;
    t.r[i] = t.r[i] * (1 - mix * 0.5) + wet.r[i] * mix;
  }
}

Track EchoWet(const Track& t, double seconds, double feedback, bool circular) {
  size_t d = static_cast<size_t>(seconds * kRate);
  size_t n = t.size();
  Track wet(n);
  if (d == 0 || d >= n) return wet;
  std::vector<double> bl(d, 0.0), br(d, 0.0);
  std::vector<double>& outL = wet.l;
  std::vector<double>& outR = wet.r;
  size_t pos = 0;
  int passes = circular ? 3 : 1;
  for (int pass = 0; pass < passes; ++pass) {
    for (size_t i = 0; i < n; ++i) {
      double el = bl[pos], er = br[pos];
      // Ping-pong: each repeat crosses to the other side.
      bl[pos] = t.r[i] * 0.5 + er * feedback;
      br[pos] = t.l[i] * 0.5 + el * feedback;
      if (++pos >= d) pos = 0;
      outL[i] = el;
      outR[i] = er;
    }
  }
  return wet;
}

void Echo(Track& t, double seconds, double feedback, double mix, bool circular) {
  Track wet = EchoWet(t, seconds, feedback, circular);
  for (size_t i = 0; i < t.size(); ++i) {
    t.l[i] += wet.l[i] * mix;
    t.r[i] += wet.r[i] * mix;
  }
}

void Normalise(Track& t, double peak) {
  double m = 1e-9;
  for (size_t i = 0; i < t.size(); ++i) m = dm::Max(m, dm::Max(dm::Abs(t.l[i]), dm::Abs(t.r[i])));
  double k = peak / m;
  for (size_t i = 0; i < t.size(); ++i) {
    t.l[i] *= k;
    t.r[i] *= k;
  }
}

void EdgeFades(Track& t, double inSeconds, double outSeconds) {
  size_t n = t.size();
  size_t fi = static_cast<size_t>(inSeconds * kRate), fo = static_cast<size_t>(outSeconds * kRate);
  for (size_t i = 0; i < fi && i < n; ++i) {
    double k = static_cast<double>(i) / fi;
    t.l[i] *= k;
    t.r[i] *= k;
  }
  for (size_t i = 0; i < fo && i < n; ++i) {
    double k = static_cast<double>(i) / fo;
    t.l[n - 1 - i] *= k;
    t.r[n - 1 - i] *= k;
  }
}

std::vector<uint8_t> EncodeWavMono16(const Track& t) {
  std::vector<uint8_t> out;
  uint32_t dataBytes = static_cast<uint32_t>(t.size() * 2);
  out.insert(out.end(), {'R', 'I', 'F', 'F'});
  PutLe(out, 36 + dataBytes, 4);
  out.insert(out.end(), {'W', 'A', 'V', 'E', 'f', 'm', 't', ' '});
  PutLe(out, 16, 4);
  PutLe(out, 1, 2);          // PCM
  PutLe(out, 1, 2);          // mono
  PutLe(out, kRate, 4);
  PutLe(out, kRate * 2, 4);  // bytes per second
  PutLe(out, 2, 2);          // block align
  PutLe(out, 16, 2);         // bits per sample
  out.insert(out.end(), {'d', 'a', 't', 'a'});
  PutLe(out, dataBytes, 4);
  for (size_t i = 0; i < t.size(); ++i) PutLe(out, static_cast<uint16_t>(ToPcm(t.l[i])), 2);
  return out;
}

std::vector<uint8_t> EncodeMp3Stereo(const Track& t, int kbps) {
  // LAME fills some shared tables on first use without locking; the
  // generator makes files on several threads, so one encoder at a time.
  static std::mutex lameLock;
  std::lock_guard<std::mutex> hold(lameLock);
  lame_global_flags* gf = lame_init();
  lame_set_num_channels(gf, 2);
  lame_set_in_samplerate(gf, kRate);
  lame_set_out_samplerate(gf, kRate);
  lame_set_brate(gf, kbps);
  lame_set_mode(gf, JOINT_STEREO);
  lame_set_quality(gf, 2);
  lame_set_VBR(gf, vbr_off);
  lame_set_bWriteVbrTag(gf, 1);
  lame_set_write_id3tag_automatic(gf, 0);
  lame_init_params(gf);

  std::vector<short> pcm(t.size() * 2);
  for (size_t i = 0; i < t.size(); ++i) {
    pcm[2 * i] = ToPcm(t.l[i]);
    pcm[2 * i + 1] = ToPcm(t.r[i]);
  }
  std::vector<uint8_t> out;
  const int chunk = 4608;
  std::vector<unsigned char> buf(static_cast<size_t>(chunk * 1.25 + 7200));
  for (size_t pos = 0; pos < t.size(); pos += chunk) {
    int frames = static_cast<int>(dm::Min(static_cast<double>(chunk), static_cast<double>(t.size() - pos)));
    int got = lame_encode_buffer_interleaved(gf, &pcm[2 * pos], frames, buf.data(), static_cast<int>(buf.size()));
    if (got > 0) out.insert(out.end(), buf.begin(), buf.begin() + got);
  }
  int got = lame_encode_flush(gf, buf.data(), static_cast<int>(buf.size()));
  if (got > 0) out.insert(out.end(), buf.begin(), buf.begin() + got);
  // The first frame was a placeholder; now that the length is known, put
  // the real info tag (with the encoder delay and padding) in its place.
  size_t tagSize = lame_get_lametag_frame(gf, buf.data(), buf.size());
  if (tagSize > 0 && tagSize <= out.size()) std::memcpy(out.data(), buf.data(), tagSize);
  lame_close(gf);
  return out;
}
