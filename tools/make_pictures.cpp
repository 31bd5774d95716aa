// Draws the game's two pictures and writes them as baseline JPEG files:
//   arrangement_background.jpg  700 x 438  glowing blue and violet lattices receding
//                                          towards a horizon on black
//   rules_banner.jpg            639 x 54   golden scrolls and spirals on black
//
// Usage: make_pictures <output folder>
// Everything is computed from formulas, without randomness, so the files come out the same
// on every run.

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Colour {
    double r = 0, g = 0, b = 0;
};

Colour operator+(Colour a, Colour b) { return {a.r + b.r, a.g + b.g, a.b + b.b}; }
Colour operator*(Colour a, double k) { return {a.r * k, a.g * k, a.b * k}; }

Colour mix(Colour a, Colour b, double t) { return a * (1.0 - t) + b * t; }

double smoothstep(double edge0, double edge1, double x) {
    const double t = std::clamp((x - edge0) / (edge1 - edge0), 0.0, 1.0);
    return t * t * (3.0 - 2.0 * t);
}

// A canvas of linear light values; written out with a soft roll-off so glows never clip hard.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height), pixels_(static_cast<std::size_t>(width * height)) {}

    int width() const { return width_; }
    int height() const { return height_; }

    Colour& at(int x, int y) { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }

    // Adds a round Gaussian spot centred at (cx, cy).
    void splat(double cx, double cy, double radius, Colour colour) {
        forPixelsNear(cx, cy, radius * 3.0, [&](Colour& pixel, double dx, double dy) {
            pixel = pixel + colour * std::exp(-(dx * dx + dy * dy) / (2.0 * radius * radius));
        });
    }

    // Like splat, but keeps the brighter of the old value and the spot: overlapping spots of
    // one stroke do not pile up.
    void splatMax(double cx, double cy, double radius, Colour colour) {
        forPixelsNear(cx, cy, radius * 2.5, [&](Colour& pixel, double dx, double dy) {
            const double distance = std::sqrt(dx * dx + dy * dy);
            const double weight = 1.0 - smoothstep(radius - 0.6, radius + 0.6, distance);
            pixel = {std::max(pixel.r, colour.r * weight), std::max(pixel.g, colour.g * weight),
                     std::max(pixel.b, colour.b * weight)};
        });
    }

    // Calls paint(pixel, dx, dy) for each pixel of the canvas within `reach` of (cx, cy)
    // along each axis, dx and dy from the point to the pixel's centre.
    template <typename Paint>
    void forPixelsNear(double cx, double cy, double reach, Paint&& paint) {
        const int cells = static_cast<int>(std::ceil(reach));
        const int x0 = std::max(0, static_cast<int>(cx) - cells),
                  x1 = std::min(width_ - 1, static_cast<int>(cx) + cells);
        const int y0 = std::max(0, static_cast<int>(cy) - cells),
                  y1 = std::min(height_ - 1, static_cast<int>(cy) + cells);
        for (int y = y0; y <= y1; ++y) {
            for (int x = x0; x <= x1; ++x) paint(at(x, y), x + 0.5 - cx, y + 0.5 - cy);
        }
    }

    // Adds a blurred copy of the picture to itself: a soft glow around everything bright.
    void addGlow(double sigma, double strength) {
        const int reach = static_cast<int>(std::ceil(sigma * 3.0));
        std::vector<double> kernel;
        double total = 0;
        for (int i = -reach; i <= reach; ++i) {
            kernel.push_back(std::exp(-i * i / (2.0 * sigma * sigma)));
            total += kernel.back();
        }
        for (double& k : kernel) k /= total;
        auto blur = [&](const std::vector<Colour>& from, bool horizontal) {
            std::vector<Colour> to(from.size());
            for (int y = 0; y < height_; ++y) {
                for (int x = 0; x < width_; ++x) {
                    Colour sum;
                    for (int i = -reach; i <= reach; ++i) {
                        const int sx = horizontal ? std::clamp(x + i, 0, width_ - 1) : x;
                        const int sy = horizontal ? y : std::clamp(y + i, 0, height_ - 1);
                        sum = sum + from[static_cast<std::size_t>(sy * width_ + sx)] *
                                        kernel[static_cast<std::size_t>(i + reach)];
                    }
                    to[static_cast<std::size_t>(y * width_ + x)] = sum;
                }
            }
            return to;
        };
        const std::vector<Colour> glow = blur(blur(pixels_, true), false);
        for (std::size_t i = 0; i < pixels_.size(); ++i) pixels_[i] = pixels_[i] + glow[i] * strength;
    }

    bool writeJpeg(const std::string& path, int quality) const {
        std::FILE* file = std::fopen(path.c_str(), "wb");
        if (!file) {
            std::perror(path.c_str());
            return false;
        }
        jpeg_compress_struct cinfo;
        jpeg_error_mgr errors;
        cinfo.err = jpeg_std_error(&errors);
        jpeg_create_compress(&cinfo);
        jpeg_stdio_dest(&cinfo, file);
        cinfo.image_width = static_cast<JDIMENSION>(width_);
        cinfo.image_height = static_cast<JDIMENSION>(height_);
        cinfo.input_components = 3;
        cinfo.in_color_space = JCS_RGB;
        jpeg_set_defaults(&cinfo);  // baseline, Huffman coded, 4:2:0
        jpeg_set_quality(&cinfo, quality, TRUE);
        cinfo.optimize_coding = TRUE;
        jpeg_start_compress(&cinfo, TRUE);
        std::vector<JSAMPLE> row(static_cast<std::size_t>(width_) * 3);
        while (cinfo.next_scanline < cinfo.image_height) {
            const int y = static_cast<int>(cinfo.next_scanline);
            for (int x = 0; x < width_; ++x) {
                const Colour& c = pixels_[static_cast<std::size_t>(y * width_ + x)];
                row[static_cast<std::size_t>(x) * 3 + 0] = toByte(c.r);
                row[static_cast<std::size_t>(x) * 3 + 1] = toByte(c.g);
                row[static_cast<std::size_t>(x) * 3 + 2] = toByte(c.b);
            }
            JSAMPROW rows[1] = {row.data()};
            jpeg_write_scanlines(&cinfo, rows, 1);
        }
        jpeg_finish_compress(&cinfo);
        jpeg_destroy_compress(&cinfo);
        return std::fclose(file) == 0;
    }

private:
    // 1 - e^(-v): linear up to about 0.3, then rolls off towards white.
    static JSAMPLE toByte(double v) {
        const double shaped = 1.0 - std::exp(-std::max(0.0, v) * 1.1);
        return static_cast<JSAMPLE>(std::lround(std::clamp(shaped, 0.0, 1.0) * 255.0));
    }

    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

// ---------------------------------------------------------------------------------------
// The lattice picture: two infinite planes, a floor and a fainter ceiling, each ruled with
// a square lattice at four scales (every finer lattice half the spacing and dimmer than
// the one before), seen in perspective so that they recede to a common horizon.

const Colour kBlue{0.20, 0.42, 1.00};
const Colour kViolet{0.62, 0.24, 1.00};
const Colour kPaleBlue{0.55, 0.75, 1.00};

// Brightness of a line at `pixelDistance` from the pixel: a sharp core and a wide halo.
double lineGlow(double pixelDistance) {
    const double core = std::exp(-pixelDistance * pixelDistance / 1.3);
    const double halo = std::exp(-pixelDistance * pixelDistance / 40.0);
    return core + 0.28 * halo;
}

// Distance from `v` to the nearest multiple of `spacing`.
double toNearestLine(double v, double spacing) {
    const double phase = v / spacing - std::floor(v / spacing);
    return std::min(phase, 1.0 - phase) * spacing;
}

// Light from one plane at a pixel whose ray meets the plane at world (worldX, depth).
// `pixelsPerUnitX` and `pixelsPerUnitZ` convert world distances to screen distances there.
Colour planeLight(double worldX, double depth, double pixelsPerUnitX, double pixelsPerUnitZ, Colour near, Colour far) {
    Colour light;
    double spacing = 8.0;
    double weight = 1.0;
    for (int level = 0; level < 4; ++level) {
        // Lines closer together on screen than a few pixels would only shimmer: fade them out.
        const double xLines =
            lineGlow(toNearestLine(worldX, spacing) * pixelsPerUnitX) * smoothstep(3.0, 9.0, spacing * pixelsPerUnitX);
        const double zLines =
            lineGlow(toNearestLine(depth, spacing) * pixelsPerUnitZ) * smoothstep(3.0, 9.0, spacing * pixelsPerUnitZ);
        // Where two lines of the coarsest lattice cross, a brighter node.
        const double node = level == 0 ? xLines * zLines * 2.5 : 0.0;
        const Colour tint = mix(near, far, std::min(1.0, level / 3.0));
        light = light + tint * ((xLines + zLines + node) * weight);
        spacing *= 0.5;
        weight *= 0.55;
    }
    return light;
}

void drawLattice(Canvas& canvas) {
    const double width = canvas.width(), height = canvas.height();
    const double horizon = height * 0.43;
    const double focal = 420.0;
    const double floorBelow = 6.0;    // eye height above the floor
    const double ceilingAbove = 9.0;  // and below the ceiling
    const double fogDepth = 140.0;

    for (int y = 0; y < canvas.height(); ++y) {
        for (int x = 0; x < canvas.width(); ++x) {
            const double sx = x + 0.5 - width * 0.5;
            const double sy = y + 0.5 - horizon;
            Colour light;
            if (std::abs(sy) > 0.5) {
                const bool floor = sy > 0;
                const double eye = floor ? floorBelow : ceilingAbove;
                const double depth = eye * focal / std::abs(sy);
                // The lattice turns slowly with depth, which bends its lines into a gentle twist.
                const double twist = floor ? 0.0 : 0.35;
                const double angle = twist + depth * 0.0006;
                const double flatX = sx * depth / focal;
                const double worldX = flatX * std::cos(angle) - depth * std::sin(angle);
                const double worldZ = flatX * std::sin(angle) + depth * std::cos(angle);
                const double pixelsPerUnitX = focal / depth;
                const double pixelsPerUnitZ = focal * eye / (depth * depth);
                const Colour nearTint = floor ? kBlue : kViolet;
                const Colour farTint = floor ? kViolet : kBlue;
                light = planeLight(worldX, worldZ, pixelsPerUnitX, std::max(pixelsPerUnitZ, 1e-6), nearTint, farTint);
                const double fog = std::exp(-depth / fogDepth);
                light = light * (fog * (floor ? 1.0 : 0.45));
            }
            // A glow along the horizon where both planes meet.
            const double band = std::exp(-sy * sy / 90.0) * 0.55 + std::exp(-sy * sy / 1400.0) * 0.12;
            const double centre = std::exp(-sx * sx / (2.0 * 170.0 * 170.0));
            light = light + mix(kViolet, kPaleBlue, centre) * (band * (0.35 + 0.65 * centre));
            canvas.at(x, y) = light;
        }
    }

    // A few sparks scattered over the dark, placed by a fixed integer hash.
    std::uint32_t state = 0x2545F491u;
    auto next = [&state] {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        return state;
    };
    for (int i = 0; i < 90; ++i) {
        const double x = next() % 700;
        const double y = next() % 438;
        const double strength = 0.15 + (next() % 100) / 220.0;
        canvas.splat(x, y, 0.7, mix(kPaleBlue, kViolet, (next() % 100) / 100.0) * strength);
    }
}

// ---------------------------------------------------------------------------------------
// The banner: a wavy stem along the middle with a scroll curling off each crest, every
// scroll carrying a smaller scroll of its own and that one a smaller one still, between
// two beaded rules.

const Colour kGold{1.00, 0.62, 0.12};

// Draws a curve as closely spaced spots; `width` is the stroke's radius in pixels.
template <typename Curve>
void stroke(Canvas& canvas, Curve curve, double from, double to, int steps, double width, double brightness) {
    for (int i = 0; i <= steps; ++i) {
        const double t = from + (to - from) * i / steps;
        const auto [x, y, taper] = curve(t);
        // A little brighter along the top edge of the stroke, as if lit from above.
        canvas.splatMax(x, y, std::max(0.5, width * taper), kGold * brightness);
        canvas.splatMax(x, y - width * taper * 0.35, std::max(0.3, width * taper * 0.4), kGold * (brightness * 1.6));
    }
}

struct Point3 {
    double x, y, taper;
};

// A logarithmic spiral that starts at (x, y) heading along `heading` and winds inwards,
// turning `turns` times, clockwise when `clockwise`. Recurses into a smaller scroll that
// branches off its outer arm.
void scroll(Canvas& canvas, double x, double y, double heading, double size, double turns, bool clockwise, int depth) {
    const double growth = 0.16;  // how fast the radius shrinks per radian
    const double sign = clockwise ? 1.0 : -1.0;
    const double sweep = turns * 2.0 * kPi;
    // The spiral's centre lies `size` to the inside of the starting heading.
    const double normal = heading + sign * kPi / 2.0;
    const double cx = x + size * std::cos(normal), cy = y + size * std::sin(normal);
    const double startAngle = normal + kPi;
    auto curve = [=](double t) {
        const double radius = size * std::exp(-growth * t);
        const double angle = startAngle + sign * t;
        return Point3{cx + radius * std::cos(angle), cy + radius * std::sin(angle), std::exp(-growth * t * 0.6)};
    };
    stroke(canvas, curve, 0.0, sweep, static_cast<int>(sweep * size * 3.0) + 8, 1.1 * std::sqrt(size / 12.0) + 0.2,
           0.8);
    // A bead at the eye of the scroll.
    const Point3 eye = curve(sweep);
    canvas.splatMax(eye.x, eye.y, 0.9 + 0.6 * size / 12.0, kGold * 1.2);

    if (depth > 0 && size > 2.0) {
        // The child grows from the far side of the outer arm, curling the other way.
        const double t = 0.55 * 2.0 * kPi;
        const Point3 from = curve(t);
        const double outward = startAngle + sign * t;
        scroll(canvas, from.x, from.y, outward, size * 0.42, turns * 0.85, !clockwise, depth - 1);
    }
}

void drawBanner(Canvas& canvas) {
    const double width = canvas.width();
    const double middle = canvas.height() / 2.0;
    const double period = 71.0;
    const double amplitude = 5.0;
    const double phase = (width - std::floor(width / period) * period) / 2.0;  // centres the pattern

    // The stem.
    auto stem = [=](double x) {
        return Point3{x, middle + amplitude * std::sin(2.0 * kPi * (x - phase) / period), 1.0};
    };
    stroke(canvas, stem, -4.0, width + 4.0, static_cast<int>(width * 4), 1.3, 0.9);

    // A scroll off every crest and trough, leaning forward along the stem.
    for (double x = phase + period / 4.0 - period; x < width + period; x += period / 2.0) {
        const bool crest = std::sin(2.0 * kPi * (x - phase) / period) < 0;  // screen y grows downwards
        const double y = stem(x).y;
        const double heading = crest ? -kPi / 2.0 + 0.35 : kPi / 2.0 - 0.35;
        scroll(canvas, x, y, heading, 12.0, 1.7, crest, 2);
    }

    // The rules above and below, with a bead every half period.
    for (const double y : {3.0, canvas.height() - 4.0}) {
        auto rule = [=](double x) { return Point3{x, y, 1.0}; };
        stroke(canvas, rule, -2.0, width + 2.0, static_cast<int>(width * 3), 0.7, 0.6);
        for (double x = phase - period; x < width + period; x += period / 2.0) canvas.splatMax(x, y, 1.6, kGold * 1.2);
    }
    canvas.addGlow(2.5, 0.7);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <output folder>\n", argv[0]);
        return 2;
    }
    const std::string folder = argv[1];

    Canvas lattice(700, 438);
    drawLattice(lattice);
    Canvas banner(639, 54);
    drawBanner(banner);

    const bool written = lattice.writeJpeg(folder + "/arrangement_background.jpg", 90) &&
                         banner.writeJpeg(folder + "/rules_banner.jpg", 90);
    return written ? 0 : 1;
}
