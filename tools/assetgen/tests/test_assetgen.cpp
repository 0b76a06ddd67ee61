// The generator's building blocks: the exact maths that keeps output
// reproducible, seeded noise, the TGA and sound writers, shape coverage,
// lettering, and the synthesiser's filters and loop effects.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "asset_manifest.h"
#include "assets.h"
#include "audio.h"
#include "dmath.h"
#include "image.h"
#include "rng.h"
#include "style.h"
#include "text.h"

namespace
{

// Decodes a TGA the way the game's loader does and additionally insists that
// no run-length packet crosses a row (the format's own recommendation).
struct Decoded
{
    int width = 0, height = 0, bpp = 0, type = 0;
    std::vector<uint8_t> pixels;
    bool crossesRow = false;
};

Decoded Decode(const std::vector<uint8_t>& f)
{
    Decoded d;
    d.type = f[2];
    d.width = f[12] | (f[13] << 8);
    d.height = f[14] | (f[15] << 8);
    d.bpp = f[16] / 8;
    size_t count = static_cast<size_t>(d.width) * d.height, pos = 18, done = 0;
    if (d.type == 2)
    {
        d.pixels.assign(f.begin() + 18, f.begin() + 18 + count * d.bpp);
        return d;
    }
    while (done < count && pos < f.size())
    {
        uint8_t h = f[pos++];
        size_t n = (h & 0x80) ? h - 127 : h + 1;
        if (done / d.width != (done + n - 1) / d.width)
            d.crossesRow = true;
        for (size_t i = 0; i < n; ++i)
        {
            size_t src = (h & 0x80) ? pos : pos + i * d.bpp;
            d.pixels.insert(d.pixels.end(), f.begin() + src, f.begin() + src + d.bpp);
        }
        pos += (h & 0x80) ? d.bpp : n * d.bpp;
        done += n;
    }
    return d;
}

void SetPixel(Image& img, int x, int y, double r, double g, double b, double a)
{
    float* p = img.At(x, y);
    p[0] = static_cast<float>(r * a);
    p[1] = static_cast<float>(g * a);
    p[2] = static_cast<float>(b * a);
    p[3] = static_cast<float>(a);
}

double MaskSum(const Mask& m)
{
    double s = 0;
    for (float v : m.m)
        s += v;
    return s;
}

class Fonts : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { loaded = LoadFonts(ASSETGEN_FONT_DIR); }
    void SetUp() override { ASSERT_TRUE(loaded) << "DejaVu fonts missing from " << ASSETGEN_FONT_DIR; }
    static bool loaded;
};
bool Fonts::loaded = false;

}  // namespace

// ---------------------------------------------------------------------------

TEST(ExactMath, AgreesWithTheCLibrary)
{
    for (double x = -60.0; x <= 60.0; x += 0.0137)
    {
        ASSERT_NEAR(std::sin(x), dm::Sin(x), 1e-12) << x;
        ASSERT_NEAR(std::cos(x), dm::Cos(x), 1e-12) << x;
        ASSERT_NEAR(std::tanh(x * 0.1), dm::Tanh(x * 0.1), 1e-12) << x;
    }
    for (double x = -40.0; x <= 40.0; x += 0.0371)
        ASSERT_NEAR(1.0, dm::Exp(x) / std::exp(x), 1e-13) << x;
    for (double x = 1e-7; x < 1e7; x *= 1.37)
    {
        ASSERT_NEAR(std::log(x), dm::Log(x), 1e-12) << x;
        ASSERT_NEAR(1.0, dm::Pow(x, 0.37) / std::pow(x, 0.37), 1e-12) << x;
    }
    for (double y = -3.0; y <= 3.0; y += 0.25)
        for (double x = -3.0; x <= 3.0; x += 0.25)
            ASSERT_NEAR(std::atan2(y, x), dm::Atan2(y, x), 1e-12) << y << "," << x;
    for (double x = -1.0; x <= 1.0; x += 0.001)
        ASSERT_NEAR(std::acos(x), dm::Acos(x), 1e-7) << x;
    // A long note's phase reaches thousands of radians.
    EXPECT_NEAR(std::sin(4321.123), dm::Sin(4321.123), 1e-9);
    EXPECT_EQ(0.0, dm::Exp(-800.0));
}

TEST(Randomness, SeedsRepeatAndRangesHold)
{
    Rng a(42), b(42), c(43);
    bool differs = false;
    for (int i = 0; i < 100; ++i)
    {
        uint32_t va = a.Next();
        EXPECT_EQ(va, b.Next());
        differs |= va != c.Next();
    }
    EXPECT_TRUE(differs);

    Rng r(7);
    std::set<int> seen;
    double sum = 0, sq = 0;
    for (int i = 0; i < 20000; ++i)
    {
        double v = r.Range(-2.0, 3.0);
        ASSERT_GE(v, -2.0);
        ASSERT_LT(v, 3.0);
        int k = r.Int(5, 9);
        ASSERT_GE(k, 5);
        ASSERT_LT(k, 9);
        seen.insert(k);
        double g = r.Gauss();
        sum += g;
        sq += g * g;
    }
    EXPECT_EQ(4u, seen.size());
    EXPECT_NEAR(0.0, sum / 20000, 0.05);
    EXPECT_NEAR(1.0, std::sqrt(sq / 20000), 0.05);
}

TEST(Noise, PeriodicNoiseWrapsAndStaysInRange)
{
    Rng r(3);
    for (int i = 0; i < 500; ++i)
    {
        double x = r.Range(-10, 10), y = r.Range(-10, 10);
        // The star-field tile relies on exact wrap-around.
        EXPECT_EQ(noise::Perlin(x, y, 9, 4, 4), noise::Perlin(x + 4, y, 9, 4, 4));
        EXPECT_EQ(noise::Perlin(x, y, 9, 4, 4), noise::Perlin(x, y - 8, 9, 4, 4));
        EXPECT_EQ(noise::Fbm(x, y, 9, 5, 0.5, 3, 3), noise::Fbm(x + 3, y + 3, 9, 5, 0.5, 3, 3));
        double p = noise::Perlin(x, y, 9);
        EXPECT_LE(std::fabs(p), 1.5);
        double rd = noise::Ridged(x, y, 9, 4);
        EXPECT_GE(rd, 0.0);
        EXPECT_LE(rd, 1.0);
        EXPECT_LE(std::fabs(noise::Perlin3(x, y, x - y, 9)), 1.5);
    }
    EXPECT_NE(noise::Perlin(0.3, 0.7, 1), noise::Perlin(0.3, 0.7, 2));
}

// ---------------------------------------------------------------------------

TEST(TgaEncoding, HeaderMatchesTheLoaderTemplates)
{
    Image opaque(4, 2);
    opaque.Clear(Hex(0x102030));
    std::vector<uint8_t> f = EncodeTga(opaque, false);
    const uint8_t raw[12] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    const uint8_t rle[12] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    ASSERT_GE(f.size(), 18u);
    EXPECT_TRUE(memcmp(f.data(), raw, 12) == 0 || memcmp(f.data(), rle, 12) == 0);
    EXPECT_EQ(4, f[12] | (f[13] << 8));
    EXPECT_EQ(2, f[14] | (f[15] << 8));
    EXPECT_EQ(24, f[16]);

    Image clear(8, 8);
    std::vector<uint8_t> g = EncodeTga(clear, true);
    EXPECT_EQ(32, g[16]);
    EXPECT_EQ(8, g[17] & 0x0F) << "alpha depth";
    EXPECT_EQ(0, g[17] & 0x30) << "origin must stay bottom-left";
}

TEST(TgaEncoding, RunLengthRoundTripsWithinRows)
{
    // Long flat runs (over 128 pixels), short repeats and noise in one picture.
    Image img(300, 6);
    Rng r(5);
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x)
        {
            if (x < 200)
                SetPixel(img, x, y, 0.2, 0.4, 0.6, 1.0);
            else if (x < 240)
                SetPixel(img, x, y, (x / 3) % 2, 0.5, 0.0, 1.0);
            else
                SetPixel(img, x, y, r.Unit(), r.Unit(), r.Unit(), 1.0);
        }
    std::vector<uint8_t> f = EncodeTga(img, false);
    Decoded d = Decode(f);
    EXPECT_EQ(10, d.type) << "flat runs should make run-length encoding the smaller choice";
    EXPECT_FALSE(d.crossesRow);
    ASSERT_EQ(static_cast<size_t>(img.w) * img.h * 3, d.pixels.size());
    for (int y = 0; y < img.h; ++y)
        for (int x = 0; x < img.w; ++x)
        {
            const float* p = img.At(x, y);
            const uint8_t* q = &d.pixels[(static_cast<size_t>(y) * img.w + x) * 3];
            // Stored blue, green, red; row 0 is the bottom row.
            EXPECT_EQ(static_cast<int>(p[2] * 255 + 0.5), q[0]) << x << "," << y;
            EXPECT_EQ(static_cast<int>(p[1] * 255 + 0.5), q[1]) << x << "," << y;
            EXPECT_EQ(static_cast<int>(p[0] * 255 + 0.5), q[2]) << x << "," << y;
        }

    Image noisy(64, 64);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x)
            SetPixel(noisy, x, y, r.Unit(), r.Unit(), r.Unit(), 1.0);
    EXPECT_EQ(2, EncodeTga(noisy, false)[2]) << "noise does not compress: stay uncompressed";
}

TEST(TgaEncoding, TransparentEdgesTakeTheNeighbourColour)
{
    // Linear filtering mixes a sprite's edge with the texels beside it; they
    // must carry the sprite's colour, not black, or every sprite gets a dark
    // rim. Far-away texels stay all zero so the encoder finds long runs.
    Image img(32, 32);
    for (int y = 12; y < 20; ++y)
        for (int x = 12; x < 20; ++x)
            SetPixel(img, x, y, 1.0, 0.0, 0.0, 1.0);
    Decoded d = Decode(EncodeTga(img, true));
    auto px = [&](int x, int y) { return &d.pixels[(static_cast<size_t>(y) * 32 + x) * 4]; };
    EXPECT_EQ(0, px(11, 15)[3]);
    EXPECT_EQ(255, px(11, 15)[2]) << "red carried into the transparent neighbour";
    EXPECT_EQ(0, px(11, 15)[0]);
    const uint8_t* far = px(0, 0);
    EXPECT_EQ(0, far[0] | far[1] | far[2] | far[3]);
}

// ---------------------------------------------------------------------------

TEST(Shapes, CoverageMatchesAreaAndDisplayAspect)
{
    Image sq(256, 256);
    Mask m = ShapeMask(sq, [](double u, double v) { return sdf::Circle(u, v, 0.5, 0.5, 0.3); });
    EXPECT_NEAR(dm::kPi * 0.09, MaskSum(m) / (256.0 * 256.0), 0.0005);

    // A 512 x 128 texture shown at 8:1: a circle in display units must come
    // out twice as wide as tall in texels, so it is round on screen.
    Image strip(512, 128, 8.0);
    Mask c = ShapeMask(strip, [](double u, double v) { return sdf::Circle(u, v, 4.0, 0.5, 0.3); });
    int minX = 512, maxX = -1, minY = 128, maxY = -1;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 512; ++x)
            if (c.at(x, y) > 0.5f)
            {
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
                minY = std::min(minY, y);
                maxY = std::max(maxY, y);
            }
    EXPECT_NEAR(38.4, maxX - minX + 1, 1.5);
    EXPECT_NEAR(76.8, maxY - minY + 1, 1.5);
}

TEST(Shapes, BlurKeepsMassAndGrowingContains)
{
    Image img(128, 128);
    Mask box = ShapeMask(img, [](double u, double v) { return sdf::Box(u, v, 0.5, 0.5, 0.15, 0.1); });
    Mask blurred = BlurMask(box, img, 0.03);
    EXPECT_NEAR(MaskSum(box), MaskSum(blurred), MaskSum(box) * 0.01);
    Mask grown = GrowMask(box, img, 0.04);
    EXPECT_GT(MaskSum(grown), MaskSum(box) * 1.3);
    for (size_t i = 0; i < box.m.size(); ++i)
        ASSERT_GE(grown.m[i], box.m[i]);
}

// ---------------------------------------------------------------------------

TEST_F(Fonts, WidthScalesAndFittingHolds)
{
    TextStyle small{FontId::SansBold, 0.1, 0.0, 1.0};
    TextStyle big = small;
    big.size = 0.2;
    EXPECT_NEAR(2.0 * TextWidth(small, "KELVARO"), TextWidth(big, "KELVARO"), 1e-9);
    TextStyle condensed = small;
    condensed.xScale = 0.5;
    EXPECT_NEAR(0.5 * TextWidth(small, "0123"), TextWidth(condensed, "0123"), 1e-9);
    TextStyle fitted = FitWidth(big, "A RATHER LONG LINE OF TEXT", 1.0);
    EXPECT_LE(TextWidth(fitted, "A RATHER LONG LINE OF TEXT"), 1.0 + 1e-9);
    EXPECT_EQ(big.size, FitWidth(big, "HI", 1.0).size) << "short text keeps its size";
}

TEST_F(Fonts, LettersSitOnTheBaselineAroundTheAnchor)
{
    Image img(512, 128, 4.0);
    TextStyle st{FontId::SansBold, 0.5, 0.0, 1.0};
    Mask m = TextMask(img, st, "HELLO", 2.0, 0.25, 0);
    double sumX = 0, sum = 0;
    int lowest = 128, highest = -1;
    for (int y = 0; y < 128; ++y)
        for (int x = 0; x < 512; ++x)
        {
            double v = m.at(x, y);
            sumX += v * (x + 0.5);
            sum += v;
            if (v > 0.5)
            {
                lowest = std::min(lowest, y);
                highest = std::max(highest, y);
            }
        }
    ASSERT_GT(sum, 100.0);
    EXPECT_NEAR(256.0, sumX / sum, 6.0) << "centred text is centred on its anchor";
    EXPECT_NEAR(0.25 * 128, lowest, 1.5) << "capitals stand on the baseline (row 0 is the bottom)";
    EXPECT_NEAR((0.25 + CapHeight(st)) * 128, highest + 1, 2.0);
}

TEST_F(Fonts, KeyCapsWidenLinesAndMarkersDoNot)
{
    RichLook look;
    look.style.size = 0.1;
    double plain = RichWidth(look, "go");
    EXPECT_NEAR(plain, RichWidth(look, "*go*"), 1e-9) << "emphasis markers are not drawn";
    double withKey = RichWidth(look, "[SPACE] go");
    EXPECT_GT(withKey, plain + TextWidth(TextStyle{FontId::SansBold, 0.072, 0, 1}, "SPACE"));
    EXPECT_NEAR(RichWidth(look, "{A}"), RichWidth(look, "{B}"), 1e-9) << "face buttons are equal circles";
    EXPECT_GT(RichWidth(look, "{START}"), RichWidth(look, "{A}"));
}

// ---------------------------------------------------------------------------

TEST(Synth, FiltersAndEnvelopesBehave)
{
    auto amplitudeThrough = [](double hz) {
        Svf f;
        f.Set(500, 0.707);
        double peak = 0, phase = 0;
        for (int i = 0; i < kRate; ++i)
        {
            phase += hz / kRate;
            double y = f.Low(OscSine(phase));
            if (i > kRate / 2)
                peak = std::max(peak, std::fabs(y));
        }
        return peak;
    };
    EXPECT_NEAR(1.0, amplitudeThrough(40), 0.05);
    EXPECT_LT(amplitudeThrough(8000), 0.01);

    // Band-limited oscillators keep a full swing and no offset.
    double inc = 220.0 / kRate;
    int period = static_cast<int>(1.0 / inc);
    for (int shape = 0; shape < 2; ++shape)
    {
        double mean = 0, lo = 0, hi = 0;
        for (int i = 0; i < period; ++i)
        {
            double s = shape == 0 ? OscSaw(i * inc, inc) : OscSquare(i * inc, inc);
            mean += s;
            lo = std::min(lo, s);
            hi = std::max(hi, s);
        }
        EXPECT_NEAR(0.0, mean / period, 0.05) << shape;
        EXPECT_NEAR(1.0, hi, 0.1) << shape;
        EXPECT_NEAR(-1.0, lo, 0.1) << shape;
    }

    EXPECT_EQ(0.0, Adsr(-0.1, 1.0, 0.1, 0.2, 0.5, 0.3));
    EXPECT_NEAR(1.0, Adsr(0.1, 1.0, 0.1, 0.2, 0.5, 0.3), 1e-9);
    EXPECT_NEAR(0.5, Adsr(0.8, 1.0, 0.1, 0.2, 0.5, 0.3), 1e-9);
    EXPECT_NEAR(0.25, Adsr(1.15, 1.0, 0.1, 0.2, 0.5, 0.3), 1e-9);
    EXPECT_EQ(0.0, Adsr(1.4, 1.0, 0.1, 0.2, 0.5, 0.3));
}

TEST(Synth, CircularEffectsCarryTheEndIntoTheStart)
{
    // A music loop's echoes and reverb tail must wrap round to its start,
    // or the loop clicks where it restarts.
    const size_t n = kRate;
    Track loop(n);
    loop.l[n - 100] = 1.0;
    Track echo = EchoWet(loop, 0.1, 0.5, true);
    double start = 0;
    for (size_t i = 0; i < n / 5; ++i)
        start += std::fabs(echo.l[i]) + std::fabs(echo.r[i]);
    EXPECT_GT(start, 0.2);
    Track once = EchoWet(loop, 0.1, 0.5, false);
    double startOnce = 0;
    for (size_t i = 0; i < n / 5; ++i)
        startOnce += std::fabs(once.l[i]) + std::fabs(once.r[i]);
    EXPECT_EQ(0.0, startOnce);

    Track verb = ReverbWet(loop, 0.8, 0.3, true);
    double head = 0;
    for (size_t i = 0; i < 2000; ++i)
        head += std::fabs(verb.l[i]);
    EXPECT_GT(head, 1e-3);
}

TEST(SoundFiles, WavHeaderDescribesSixteenBitMono)
{
    Track t(1000);
    for (size_t i = 0; i < t.size(); ++i)
        t.l[i] = i % 2 ? 0.5 : -0.5;
    std::vector<uint8_t> w = EncodeWavMono16(t);
    ASSERT_EQ(44u + 2000u, w.size());
    auto u16 = [&](size_t at) { return w[at] | (w[at + 1] << 8); };
    auto u32 = [&](size_t at) { return static_cast<uint32_t>(u16(at) | (u16(at + 2) << 16)); };
    EXPECT_EQ(0, memcmp(w.data(), "RIFF", 4));
    EXPECT_EQ(w.size() - 8, u32(4));
    EXPECT_EQ(0, memcmp(w.data() + 8, "WAVEfmt ", 8));
    EXPECT_EQ(1, u16(20));
    EXPECT_EQ(1, u16(22));
    EXPECT_EQ(static_cast<uint32_t>(kRate), u32(24));
    EXPECT_EQ(16, u16(34));
    EXPECT_EQ(0, memcmp(w.data() + 36, "data", 4));
    EXPECT_EQ(2000u, u32(40));
    EXPECT_EQ(16384, static_cast<int16_t>(u16(46)));
}

TEST(SoundFiles, Mp3CarriesItsLengthTagAndRepeatsExactly)
{
    Track t(kRate);
    double phase = 0;
    for (size_t i = 0; i < t.size(); ++i)
    {
        phase += 440.0 / kRate;
        t.l[i] = t.r[i] = 0.5 * OscSine(phase);
    }
    std::vector<uint8_t> a = EncodeMp3Stereo(t, 128);
    ASSERT_GT(a.size(), 1000u);
    EXPECT_EQ(0xFF, a[0]);
    EXPECT_EQ(0xE0, a[1] & 0xE0) << "starts on a frame sync";
    // The first frame is the info tag that lets a decoder trim the encoder's
    // delay and padding, so the loop plays back without a gap.
    std::string head(a.begin(), a.begin() + 400);
    EXPECT_TRUE(head.find("Info") != std::string::npos || head.find("Xing") != std::string::npos);
    EXPECT_NE(std::string::npos, head.find("LAME"));
    EXPECT_EQ(a, EncodeMp3Stereo(t, 128));
}

// ---------------------------------------------------------------------------

class Generator : public Fonts
{
};

TEST_F(Generator, ListsTheManifestAndRepeatsItself)
{
    AssetList all = AllAssets();
    ASSERT_EQ(kAssetManifestCount, all.size());
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(std::string(kAssetManifest[i]), all[i].path);
    // Pictures with lettering and noise, and a sound, twice in one process.
    for (const AssetFile& a : all)
    {
        if (a.path != "Graphic_Assets/Message/select.tga" && a.path != "Graphic_Assets/Particle/boom.tga" &&
            a.path != "Audio_Assets/SE/SE_Fuel.wav")
            continue;
        EXPECT_EQ(a.make(), a.make()) << a.path;
    }
}
