#include "pxbuild/demo_images.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "demo_tables.h"
#include "drawing.h"

namespace pxbuild {

namespace demo {

namespace {

using namespace draw;
using Profile = std::vector<std::pair<double, double>>;

constexpr double kPi = 3.14159265358979323846;
constexpr double kLine = 3;           // outline width
constexpr double kAxisLength = 1250;  // along x, from the origin
constexpr P2 kOrigin{260, 330};
constexpr int kCodeScale = 3;

// Where a part is drawn: its stretch of the centre line and its radius.
struct Slot {
    double xa, xb, r;
    int variant;
    double len() const { return xb - xa; }
    double mid() const { return (xa + xb) / 2; }
};

const V3 kAxis{0, 0, 0};

// The visible half of a circle round the x axis at x (a groove or a seam).
void seam(Scene& s, double x, double r, V3 c = kAxis) {
    Path run;
    for (int i = 0; i <= 96; ++i) {
        double t = 2 * kPi * i / 96;
        if (std::cos(t) + std::sin(t) > 0.05) {
            run.push_back(s.at({c.x + x, c.y + r * std::cos(t), c.z + r * std::sin(t)}));
        } else if (!run.empty()) {
            s.pen().path(run, kLine - 1);
            run.clear();
        }
    }
    s.pen().path(run, kLine - 1);
}

// Lines along x on the visible side of a cylinder (fins, pleats).
void flutes(Scene& s, double x0, double x1, double r, int count, V3 c = kAxis) {
    for (int i = 0; i < count; ++i) {
        double t = -kPi / 4 + kPi * (i + 0.5) / count;
        V3 a{c.x + x0, c.y + r * std::cos(t), c.z + r * std::sin(t)};
        V3 b{c.x + x1, a.y, a.z};
        s.pen().line(s.at(a), s.at(b), 1.5);
    }
}

// A polygon on the plane x (points as y, z).
Path face(Scene& s, double x, const Profile& p, V3 c = kAxis) {
    Path out;
    for (auto [y, z] : p) out.push_back(s.at({c.x + x, c.y + y, c.z + z}));
    return out;
}

Profile offset(const Profile& p, double dy, double dz) {
    Profile q = p;
    for (auto& [y, z] : q) y += dy, z += dz;
    return q;
}

// The profile of the convex hull of the points (counter-clockwise).
Profile hull_profile(const Profile& p) {
    Path pts;
    for (auto [y, z] : p) pts.push_back({y, z});
    Profile q;
    for (auto v : convex_hull(pts)) q.emplace_back(v.x, v.y);
    return q;
}

Profile rounded_rect(double hy, double hz, double rad) {
    Profile p;
    for (int sy : {-1, 1})
        for (int sz : {-1, 1})
            for (int i = 0; i <= 8; ++i) {
                double t = kPi / 2 * i / 8;
                p.emplace_back(sy * (hy - rad + rad * std::cos(t)), sz * (hz - rad + rad * std::sin(t)));
            }
    return hull_profile(p);
}

// A vertical (along y) cylinder standing on y0.
void post(Scene& s, V3 base, double h, double r) {
    Path bottom = s.circle(base, {1, 0, 0}, {0, 0, 1}, r, 64);
    Path top = s.circle({base.x, base.y + h, base.z}, {1, 0, 0}, {0, 0, 1}, r, 64);
    Path all = bottom;
    all.insert(all.end(), top.begin(), top.end());
    Path hull = convex_hull(all);
    s.pen().fill(hull);
    s.pen().path(hull, kLine, true);
    s.pen().path(top, kLine, true);
    s.note(hull);
}

// A helical coil round the x axis, the near halves of the turns drawn over
// the far ones.
void coil(Scene& s, double x0, double x1, double r, int turns, double wire, V3 c = kAxis) {
    const int per = 48;
    std::vector<std::pair<bool, std::vector<V3>>> runs;
    for (int i = 0; i <= turns * per; ++i) {
        double t = 2 * kPi * i / per;
        V3 p{c.x + x0 + (x1 - x0) * i / (turns * per), c.y + r * std::cos(t), c.z + r * std::sin(t)};
        bool front = std::cos(t) + std::sin(t) > 0;
        if (runs.empty() || runs.back().first != front) {
            if (!runs.empty()) runs.back().second.push_back(p);
            runs.push_back({front, {}});
        }
        runs.back().second.push_back(p);
    }
    for (bool front : {false, true})
        for (const auto& [f, pts] : runs)
            if (f == front && pts.size() > 1) s.curve(pts, wire, front);
}

void bolt_circle(Scene& s, double x, double pitch, double r, int n, V3 c = kAxis) {
    for (int i = 0; i < n; ++i) {
        double t = 2 * kPi * i / n + kPi / n;
        s.front_circle({c.x + x, c.y + pitch * std::cos(t), c.z + pitch * std::sin(t)}, r, 2);
    }
}

// --- The parts ---------------------------------------------------------------

void block(Scene& s, const Slot& k) {
    double hy = k.r * 0.75, hz = k.r * 0.85;
    s.extrude(rect_profile(hy, hz), kAxis, k.xa, k.xb);
    // Cylinder bores on the top face.
    for (int i = 0; i < 4; ++i) {
        double z = -hz + hz * (2 * i + 1) / 4;
        s.pen().path(s.circle({k.mid(), hy, z}, {1, 0, 0}, {0, 0, 1}, std::min(k.len(), 2 * hz / 4) * 0.36), 2, true);
    }
    s.pen().path(face(s, k.xb, rounded_rect(hy * 0.5, hz * 0.6, 12)), 2, true);
    bolt_circle(s, k.xb, hz * 0.65, 5, 6);
}

void head(Scene& s, const Slot& k) {
    double hy = k.r * 0.4, hz = k.r * 0.85;
    s.extrude(rect_profile(hy, hz), kAxis, k.xa, k.xb);
    s.extrude(rect_profile(hy * 0.35, hz * 0.9), {0, hy * 1.3, 0}, k.xa + k.len() * 0.15, k.xb - k.len() * 0.15);
    for (int i = 0; i < 4; ++i) s.front_circle({k.xb, -hy * 0.2, -hz + hz * (2 * i + 1) / 4}, hy * 0.35, 2);
}

void gasket(Scene& s, const Slot& k) {
    double hy = k.r * 0.7, hz = k.r * 0.85;
    double x0 = k.mid() - 4, x1 = k.mid() + 4;
    s.extrude(rounded_rect(hy, hz, 14), kAxis, x0, x1);
    for (int i = 0; i < 4; ++i) s.front_circle({x1, 0, -hz + hz * (2 * i + 1) / 4}, std::min(hy, hz / 4) * 0.75, 2);
    for (int i = 0; i < 5; ++i)
        for (int j : {-1, 1}) s.front_circle({x1, j * hy * 0.85, -hz + 2 * hz * (i + 0.5) / 5}, 5, 1.5);
}

void head_cover(Scene& s, const Slot& k) {
    double hy = k.r * 0.35, hz = k.r * 0.85;
    s.extrude(rounded_rect(hy, hz, 16), kAxis, k.xa, k.xb);
    flutes(s, k.xa + 6, k.xb - 6, hy, 4);
    s.front_circle({k.xb, hy * 0.2, hz * 0.4}, hy * 0.35);
}

void plate_cover(Scene& s, const Slot& k) {
    Profile p = {{-k.r * 0.9, -k.r * 0.3}, {-k.r * 0.4, -k.r * 0.7}, {k.r * 0.6, -k.r * 0.6},
                 {k.r * 0.9, -k.r * 0.1}, {k.r * 0.7, k.r * 0.5},  {-k.r * 0.3, k.r * 0.6}};
    double x0 = k.mid() - 8, x1 = k.mid() + 8;
    s.extrude(p, kAxis, x0, x1);
    s.front_circle({x1, -k.r * 0.3, -k.r * 0.1}, k.r * 0.25, 2);
    for (auto [y, z] : p) s.front_circle({x1, y * 0.85, z * 0.85}, 4, 1.5);
}

void piston(Scene& s, const Slot& k) {
    double r = k.r * 0.6;
    s.cylinder(kAxis, k.xa, k.xb, r);
    for (int i = 1; i <= 3; ++i) seam(s, k.xb - k.len() * 0.08 * i, r);
    s.pen().path(s.circle({k.mid() - k.len() * 0.1, 0, r}, {1, 0, 0}, {0, 1, 0}, r * 0.22), kLine, true);
    s.front_circle({k.xb, 0, 0}, r * 0.55, 1.5);
}

void rings(Scene& s, const Slot& k) {
    double r = k.r * 0.6;
    for (int i = 0; i < 3; ++i) {
        double x = k.xa + k.len() * (0.2 + 0.3 * i);
        s.cylinder(kAxis, x, x + 5, r);
        s.front_circle({x + 5, 0, 0}, r - 8, 2);
    }
}

void conrod(Scene& s, const Slot& k) {
    double big = k.r * 0.42, small = k.r * 0.22, len = k.r * 1.3;
    Path pts;
    for (auto [y, z] : circle_profile(big, 48)) pts.push_back({y - len * 0.45, z});
    for (auto [y, z] : circle_profile(small, 48)) pts.push_back({y + len * 0.55, z});
    Profile p;
    for (auto q : convex_hull(pts)) p.emplace_back(q.x, q.y);
    double x0 = k.mid() - 10, x1 = k.mid() + 10;
    s.extrude(p, kAxis, x0, x1);
    s.front_circle({x1, -len * 0.45, 0}, big * 0.6);
    s.front_circle({x1, len * 0.55, 0}, small * 0.5);
    s.pen().line(s.at({x1, -len * 0.45 - big * 0.05, -big}), s.at({x1, -len * 0.45 - big * 0.05, big}), 2);
}

void crankshaft(Scene& s, const Slot& k) {
    double step = k.len() / 9;
    double x = k.xa;
    for (int i = 0; i < 4; ++i) {
        s.cylinder(kAxis, x, x + step * 0.6, k.r * 0.18);
        x += step * 0.6;
        double dy = (i % 2 ? -1 : 1) * k.r * 0.35;
        Path pts;
        for (auto [y, z] : circle_profile(k.r * 0.3, 32)) pts.push_back({y, z});
        for (auto [y, z] : circle_profile(k.r * 0.2, 32)) pts.push_back({y + dy * 1.2, z});
        Profile web;
        for (auto q : convex_hull(pts)) web.emplace_back(q.x, q.y);
        s.extrude(web, kAxis, x, x + step * 0.35);
        x += step * 0.35;
        s.cylinder({0, dy * 1.2, 0}, x, x + step * 0.9, k.r * 0.15);
        x += step * 0.9;
        s.extrude(web, kAxis, x, x + step * 0.35);
        x += step * 0.35;
    }
    s.cylinder(kAxis, x, k.xb, k.r * 0.18);
}

void pulley(Scene& s, const Slot& k) {
    double r = k.r * 0.8;
    s.cylinder(kAxis, k.xa + k.len() * 0.3, k.xb - k.len() * 0.2, r);
    for (int i = 1; i <= 4; ++i) seam(s, k.xa + k.len() * 0.3 + (k.len() * 0.5) * i / 5, r);
    s.cylinder(kAxis, k.xb - k.len() * 0.2, k.xb, r * 0.35);
    s.front_circle({k.xb, 0, 0}, r * 0.15);
    bolt_circle(s, k.xb - k.len() * 0.2, r * 0.6, 5, 4);
}

void pump(Scene& s, const Slot& k) {
    double r = k.r * 0.7;
    s.extrude(rounded_rect(r * 0.9, r, 18), kAxis, k.xa, k.xa + k.len() * 0.45);
    bolt_circle(s, k.xa + k.len() * 0.45, r * 0.8, 5, 6);
    s.cylinder(kAxis, k.xa + k.len() * 0.45, k.xa + k.len() * 0.6, r * 0.45);
    s.cylinder(kAxis, k.xa + k.len() * 0.6, k.xb, r * 0.7);
    seam(s, k.xa + k.len() * 0.8, r * 0.7);
    s.front_circle({k.xb, 0, 0}, r * 0.2);
    bolt_circle(s, k.xb, r * 0.4, 4, 4);
}

void element(Scene& s, const Slot& k) {
    double r = k.r * 0.55;
    s.cylinder(kAxis, k.xa, k.xb, r);
    flutes(s, k.xa + 4, k.xb - 4, r, 14);
    s.front_circle({k.xb, 0, 0}, r * 0.45);
    s.front_circle({k.xb, 0, 0}, r * 0.85, 2);
}

void flat_filter(Scene& s, const Slot& k) {
    double hy = k.r * 0.6, hz = k.r * 0.8;
    s.extrude(rect_profile(hy, hz), kAxis, k.mid() - 12, k.mid() + 12);
    Path f = face(s, k.mid() + 12, rect_profile(hy - 8, hz - 8));
    s.pen().hatch(f, 12, false);
    s.pen().path(f, 2, true);
}

void canister(Scene& s, const Slot& k) {
    double r = k.r * 0.5;
    s.cylinder(kAxis, k.xa, k.xa + k.len() * 0.15, r * 1.05);
    s.cylinder(kAxis, k.xa + k.len() * 0.15, k.xb - k.len() * 0.15, r);
    s.frustum(kAxis, k.xb - k.len() * 0.15, r, k.xb, r * 0.75);
    s.front_circle({k.xa + k.len() * 0.15, 0, 0}, r * 0.3, 2);
    for (int i = 0; i < 3; ++i) seam(s, k.xa + k.len() * (0.3 + 0.15 * i), r);
}

void pan(Scene& s, const Slot& k) {
    double hz = k.r * 0.85;
    Profile p = {{-k.r * 0.7, -hz}, {-k.r * 0.1, -hz}, {0, -hz * 0.4}, {k.r * 0.2, -hz * 0.2},
                 {k.r * 0.2, hz}, {-k.r * 0.7, hz}};
    s.extrude(p, kAxis, k.xa, k.xb);
    s.extrude(rect_profile(k.r * 0.03, hz * 1.05), {0, k.r * 0.23, 0}, k.xa - 8, k.xb + 8);
    for (int i = 0; i < 6; ++i) s.front_circle({k.xb + 8, k.r * 0.23, -hz + 2 * hz * (i + 0.5) / 6}, 4, 1.5);
}

void plug(Scene& s, const Slot& k) {
    double r = k.r * 0.3;
    s.cylinder(kAxis, k.xa + k.len() * 0.1, k.xa + k.len() * 0.55, r * 0.6);
    for (int i = 1; i < 6; ++i) seam(s, k.xa + k.len() * (0.1 + 0.075 * i), r * 0.6);
    s.cylinder(kAxis, k.xa + k.len() * 0.55, k.xa + k.len() * 0.62, r * 1.2);
    s.extrude(polygon_profile(r, 6, kPi / 6), kAxis, k.xa + k.len() * 0.62, k.xa + k.len() * 0.85);
}

void spark_plug(Scene& s, const Slot& k) {
    double r = k.r * 0.3;
    s.cylinder(kAxis, k.xa, k.xa + k.len() * 0.3, r * 0.5);
    for (int i = 1; i < 5; ++i) seam(s, k.xa + k.len() * 0.06 * i, r * 0.5);
    s.extrude(polygon_profile(r, 6, kPi / 6), kAxis, k.xa + k.len() * 0.3, k.xa + k.len() * 0.45);
    s.frustum(kAxis, k.xa + k.len() * 0.45, r * 0.7, k.xa + k.len() * 0.55, r * 0.5);
    s.cylinder(kAxis, k.xa + k.len() * 0.55, k.xb - k.len() * 0.1, r * 0.4);
    for (int i = 1; i < 4; ++i) seam(s, k.xa + k.len() * (0.55 + 0.08 * i), r * 0.4);
    s.cylinder(kAxis, k.xb - k.len() * 0.1, k.xb, r * 0.2);
}

void strainer(Scene& s, const Slot& k) {
    double r = k.r * 0.55;
    double x1 = k.mid() + 10;
    s.cylinder(kAxis, k.mid() - 10, x1, r);
    Path mesh = s.circle({x1, 0, 0}, {0, 1, 0}, {0, 0, 1}, r * 0.8);
    s.pen().hatch(mesh, 8, true);
    s.pen().hatch(mesh, 8, false);
    s.tube({{x1, r * 0.2, 0}, {x1 + k.len() * 0.2, r * 0.6, 0}, {x1 + k.len() * 0.3, r * 1.3, 0}}, r * 0.18);
}

void radiator(Scene& s, const Slot& k) {
    double hy = k.r * 0.95, hz = k.r * 0.9;
    double x0 = k.mid() - 14, x1 = k.mid() + 14;
    s.extrude(rect_profile(hy * 0.8, hz), kAxis, x0, x1);
    Path core = face(s, x1, rect_profile(hy * 0.8 - 6, hz - 6));
    s.pen().fill_if(core, [](int x, int y) { return (x + y / 2) % 7 == 0; });
    s.pen().path(core, 2, true);
    s.extrude(rect_profile(hy * 0.12, hz * 1.02), {0, hy * 0.9, 0}, x0 - 6, x1 + 6);
    s.extrude(rect_profile(hy * 0.12, hz * 1.02), {0, -hy * 0.9, 0}, x0 - 6, x1 + 6);
    post(s, {k.mid(), hy * 1.02, hz * 0.6}, hy * 0.15, hy * 0.1);
}

void hose(Scene& s, const Slot& k) {
    std::vector<V3> c;
    for (int i = 0; i <= 24; ++i) {
        double t = static_cast<double>(i) / 24;
        c.push_back({k.xa + k.len() * t, k.r * 0.5 * std::sin(t * kPi * 1.4 + 0.4), -k.r * 0.3 * std::cos(t * kPi)});
    }
    s.tube(c, k.r * 0.16);
    s.curve({c[1] + V3{0, k.r * 0.16, 0}, c[1] + V3{0, -k.r * 0.16, 0}}, 2);
}

void cap(Scene& s, const Slot& k) {
    double r = k.r * 0.35;
    s.cylinder(kAxis, k.mid() - 12, k.mid(), r * 0.8);
    s.cylinder(kAxis, k.mid(), k.mid() + 18, r);
    flutes(s, k.mid() + 2, k.mid() + 16, r, 12);
    s.front_circle({k.mid() + 18, 0, 0}, r * 0.4, 2);
}

void thermostat(Scene& s, const Slot& k) {
    double r = k.r * 0.4;
    coil(s, k.xa + k.len() * 0.15, k.mid(), r * 0.5, 4, 2);
    s.cylinder(kAxis, k.mid(), k.mid() + 6, r);
    s.front_circle({k.mid() + 6, 0, 0}, r * 0.6, 2);
    s.frustum(kAxis, k.mid() + 6, r * 0.3, k.xb - k.len() * 0.1, r * 0.15);
}

void fan(Scene& s, const Slot& k) {
    double r = k.r * 0.95, x = k.mid();
    s.cylinder(kAxis, x - 10, x + 10, r * 0.2);
    for (int i = 0; i < 7; ++i) {
        double t = 2 * kPi * i / 7;
        Profile blade;
        for (double a : {-0.18, 0.22}) blade.emplace_back(r * 0.2 * std::cos(t + a), r * 0.2 * std::sin(t + a));
        for (double a : {0.38, -0.05}) blade.emplace_back(r * std::cos(t + a), r * std::sin(t + a));
        Path f = face(s, x + 10, blade);
        s.pen().fill(f);
        s.pen().path(f, kLine, true);
        s.note(f);
    }
    s.front_circle({x + 10, 0, 0}, r * 0.2);
    bolt_circle(s, x + 10, r * 0.12, 4, 4);
}

void box_housing(Scene& s, const Slot& k) {
    double hy = k.r * 0.6, hz = k.r * 0.75;
    s.extrude(rounded_rect(hy, hz, 16), kAxis, k.xa, k.mid());
    s.extrude(rounded_rect(hy * 1.02, hz * 1.02, 16), kAxis, k.mid(), k.mid() + 10);
    s.extrude(rounded_rect(hy, hz, 16), kAxis, k.mid() + 10, k.xb - k.len() * 0.2);
    for (int j : {-1, 1}) s.front_circle({k.xb - k.len() * 0.2, j * hy * 0.7, hz * 0.7}, 6, 2);
    s.tube({{k.xb - k.len() * 0.2, 0, 0}, {k.xb - k.len() * 0.05, 0, 0}, {k.xb, 0, -hz * 0.3}}, hy * 0.3);
}

void manifold(Scene& s, const Slot& k) {
    double hz = k.r * 0.85;
    s.extrude(rect_profile(k.r * 0.25, hz), kAxis, k.xa, k.xa + 10);
    for (int i = 0; i < 4; ++i) {
        double z = -hz + hz * (2 * i + 1) / 4;
        std::vector<V3> c;
        for (int j = 0; j <= 12; ++j) {
            double t = static_cast<double>(j) / 12;
            c.push_back({k.xa + 10 + (k.len() - 10) * t, k.r * 0.5 * std::sin(t * kPi / 2), z * (1 - 0.6 * t)});
        }
        s.tube(c, k.r * 0.12);
    }
}

void pipe(Scene& s, const Slot& k) {
    double r = k.r * 0.16;
    std::vector<V3> c;
    for (int i = 0; i <= 20; ++i) {
        double t = static_cast<double>(i) / 20;
        c.push_back({k.xa + 16 + (k.len() - 32) * t, k.r * 0.35 * std::cos(t * kPi), 0});
    }
    s.cylinder({0, c.front().y, 0}, k.xa, k.xa + 8, r * 2.4);
    bolt_circle(s, k.xa + 8, r * 1.7, 4, 2, {0, c.front().y, 0});
    s.tube(c, r);
    s.cylinder({0, c.back().y, 0}, k.xb - 16, k.xb - 8, r * 2.4);
}

void ign_coil(Scene& s, const Slot& k) {
    double r = k.r * 0.25;
    s.cylinder(kAxis, k.xa, k.xb - k.len() * 0.3, r);
    s.extrude(rect_profile(r * 1.5, r * 1.2), {0, r * 0.5, 0}, k.xb - k.len() * 0.3, k.xb);
    s.front_circle({k.xb, r * 1.1, 0}, r * 0.35, 2);
}

void motor(Scene& s, const Slot& k) {
    double r = k.r * 0.6;
    s.cylinder(kAxis, k.xa, k.xb - k.len() * 0.25, r);
    flutes(s, k.xa + 10, k.xb - k.len() * 0.3, r, 9);
    s.frustum(kAxis, k.xb - k.len() * 0.25, r, k.xb - k.len() * 0.15, r * 0.6);
    s.cylinder(kAxis, k.xb - k.len() * 0.15, k.xb, r * 0.45);
    seam(s, k.xb - k.len() * 0.07, r * 0.45);
    s.front_circle({k.xb, 0, 0}, r * 0.12);
    post(s, {k.mid() - k.len() * 0.1, r * 0.95, 0}, r * 0.25, r * 0.18);
}

void battery(Scene& s, const Slot& k) {
    double hy = k.r * 0.55, hz = k.r * 0.8;
    s.extrude(rect_profile(hy, hz), kAxis, k.xa, k.xb);
    s.extrude(rect_profile(hy * 0.08, hz * 1.02), {0, hy * 1.04, 0}, k.xa - 2, k.xb + 2);
    for (int j : {-1, 1}) post(s, {k.mid(), hy * 1.12, j * hz * 0.6}, hy * 0.2, hy * 0.14);
}

void injector(Scene& s, const Slot& k) {
    double r = k.r * 0.2;
    double x = k.xa;
    const double part[5] = {0.15, 0.1, 0.35, 0.15, 0.25};
    const double rad[5] = {0.5, 1.0, 0.8, 1.1, 0.6};
    for (int i = 0; i < 5; ++i) {
        double x1 = x + k.len() * part[i];
        s.cylinder(kAxis, x, x1, r * rad[i]);
        x = x1;
    }
    s.extrude(rect_profile(r * 1.4, r * 0.5), {0, r * 1.2, 0}, k.xb - k.len() * 0.2, k.xb - k.len() * 0.05);
}

void throttle(Scene& s, const Slot& k) {
    double r = k.r * 0.6;
    s.extrude(rounded_rect(r, r, 14), kAxis, k.xa + k.len() * 0.2, k.xb - k.len() * 0.2);
    s.front_circle({k.xb - k.len() * 0.2, 0, 0}, r * 0.7);
    s.pen().line(s.at({k.xb - k.len() * 0.2, r * 0.6, -r * 0.25}), s.at({k.xb - k.len() * 0.2, -r * 0.6, r * 0.25}), 2);
    s.cylinder({0, 0, r}, k.mid() - 10, k.mid() + 10, r * 0.25);
}

void disc(Scene& s, const Slot& k) {
    double r = k.r * 0.9;
    s.cylinder(kAxis, k.mid() - 10, k.mid() + 10, r);
    s.cylinder(kAxis, k.mid() + 10, k.mid() + 10 + k.len() * 0.2, r * 0.45);
    s.front_circle({k.mid() + 10 + k.len() * 0.2, 0, 0}, r * 0.2);
    bolt_circle(s, k.mid() + 10 + k.len() * 0.2, r * 0.32, 6, 4);
    s.front_circle({k.mid() + 10, 0, 0}, r * 0.8, 1.5);
}

void clutch_disc(Scene& s, const Slot& k) {
    double r = k.r * 0.85;
    s.cylinder(kAxis, k.mid() - 6, k.mid() + 6, r);
    s.front_circle({k.mid() + 6, 0, 0}, r * 0.62, 2);
    for (int i = 0; i < 6; ++i) {
        double t = 2 * kPi * i / 6;
        Path f = face(s, k.mid() + 6, offset(rect_profile(r * 0.08, r * 0.14), r * 0.42 * std::cos(t), r * 0.42 * std::sin(t)));
        s.pen().path(f, 2, true);
    }
    s.cylinder(kAxis, k.mid() + 6, k.mid() + 26, r * 0.22);
    s.extrude(gear_profile(r * 0.12, 5, 12), kAxis, k.mid() + 26, k.mid() + 28);
}

void clutch_cover(Scene& s, const Slot& k) {
    double r = k.r * 0.9;
    s.cylinder(kAxis, k.xa + k.len() * 0.2, k.xa + k.len() * 0.3, r);
    s.frustum(kAxis, k.xa + k.len() * 0.3, r * 0.85, k.xa + k.len() * 0.55, r * 0.75);
    for (int i = 0; i < 18; ++i) {
        double t = 2 * kPi * i / 18;
        V3 a{k.xa + k.len() * 0.55, r * 0.25 * std::cos(t), r * 0.25 * std::sin(t)};
        V3 b{a.x, r * 0.7 * std::cos(t), r * 0.7 * std::sin(t)};
        s.pen().line(s.at(a), s.at(b), 1.5);
    }
    s.front_circle({k.xa + k.len() * 0.55, 0, 0}, r * 0.25);
}

void bearing(Scene& s, const Slot& k) {
    double r = k.r * 0.45;
    s.cylinder(kAxis, k.mid() - 12, k.mid() + 12, r);
    s.front_circle({k.mid() + 12, 0, 0}, r * 0.85, 2);
    s.front_circle({k.mid() + 12, 0, 0}, r * 0.55, 2);
    s.front_circle({k.mid() + 12, 0, 0}, r * 0.42);
    for (int i = 0; i < 10; ++i) {
        double t = 2 * kPi * i / 10;
        s.front_circle({k.mid() + 12, r * 0.7 * std::cos(t), r * 0.7 * std::sin(t)}, r * 0.1, 2);
    }
}

void lever(Scene& s, const Slot& k) {
    Profile p = {{-k.r * 0.9, -k.r * 0.12}, {k.r * 0.7, -k.r * 0.2}, {k.r * 0.95, 0}, {k.r * 0.7, k.r * 0.2},
                 {-k.r * 0.9, k.r * 0.12}, {-k.r * 0.98, 0}};
    double x0 = k.mid() - 8, x1 = k.mid() + 8;
    s.extrude(p, kAxis, x0, x1);
    s.front_circle({x1, k.r * 0.7, 0}, k.r * 0.1, 2);
    s.front_circle({x1, -k.r * 0.8, 0}, k.r * 0.06, 2);
}

void case_housing(Scene& s, const Slot& k) {
    double r = k.r * 0.9;
    s.frustum(kAxis, k.xa, r, k.xa + k.len() * 0.4, r * 0.7);
    s.extrude(rounded_rect(r * 0.6, r * 0.55, 20), kAxis, k.xa + k.len() * 0.4, k.xb);
    flutes(s, k.xa + k.len() * 0.45, k.xb - 6, r * 0.55, 3);
    bolt_circle(s, k.xb, r * 0.4, 5, 6);
    s.front_circle({k.xb, 0, 0}, r * 0.2);
}

void seal(Scene& s, const Slot& k) {
    double r = k.r * 0.32;
    s.cylinder(kAxis, k.mid() - 6, k.mid() + 6, r);
    s.front_circle({k.mid() + 6, 0, 0}, r * 0.75, 2);
    s.front_circle({k.mid() + 6, 0, 0}, r * 0.6);
}

void gear(Scene& s, const Slot& k) {
    double r = k.r * 0.7;
    s.extrude(gear_profile(r, 10, 28), kAxis, k.mid() - 14, k.mid() + 14);
    s.cylinder(kAxis, k.mid() + 14, k.mid() + 28, r * 0.4);
    s.front_circle({k.mid() + 28, 0, 0}, r * 0.25);
    if (k.variant == 1) bolt_circle(s, k.mid() + 14, r * 0.6, 7, 6);
}

void rack(Scene& s, const Slot& k) {
    double r = k.r * 0.16;
    s.cylinder({0, 0, 0}, k.xa, k.xb, r);
    s.extrude(rounded_rect(r * 2.2, r * 2.2, 8), kAxis, k.xa + k.len() * 0.2, k.xa + k.len() * 0.45);
    post(s, {k.xa + k.len() * 0.32, r * 2.2, 0}, r * 2.5, r * 0.8);
    for (double x : {k.xa + k.len() * 0.05, k.xb - k.len() * 0.15}) s.frustum(kAxis, x, r * 1.3, x + k.len() * 0.1, r * 1.3);
}

void drive_shaft(Scene& s, const Slot& k) {
    double r = k.r * 0.14;
    s.frustum(kAxis, k.xa, r * 3, k.xa + k.len() * 0.15, r * 2.5);
    for (int i = 0; i < 4; ++i) {
        double x = k.xa + k.len() * (0.15 + 0.04 * i);
        s.frustum(kAxis, x, r * (2.4 - 0.25 * i), x + k.len() * 0.04, r * (2.0 - 0.25 * i));
    }
    s.cylinder(kAxis, k.xa + k.len() * 0.31, k.xb - k.len() * 0.31, r);
    for (int i = 0; i < 4; ++i) {
        double x = k.xb - k.len() * (0.31 - 0.04 * i);
        s.frustum(kAxis, x, r * (1.25 + 0.25 * i), x + k.len() * 0.04, r * (2.0 + 0.25 * i));
    }
    s.frustum(kAxis, k.xb - k.len() * 0.15, r * 2.5, k.xb, r * 3);
    s.front_circle({k.xb, 0, 0}, r, 2);
}

void boot(Scene& s, const Slot& k) {
    double r = k.r * 0.4;
    int folds = 5;
    double x = k.xa + k.len() * 0.1, step = k.len() * 0.8 / (2 * folds);
    for (int i = 0; i < 2 * folds; ++i) {
        double taper = 1 - 0.06 * i;
        s.frustum(kAxis, x, (i % 2 ? r : r * 0.7) * taper, x + step, (i % 2 ? r * 0.7 : r) * taper);
        x += step;
    }
    s.front_circle({x, 0, 0}, r * 0.3);
}

void knuckle(Scene& s, const Slot& k) {
    Profile p = {{-k.r * 0.95, -k.r * 0.15}, {-k.r * 0.3, -k.r * 0.6}, {k.r * 0.4, -k.r * 0.45},
                 {k.r * 0.9, -k.r * 0.05}, {k.r * 0.6, k.r * 0.35},   {-k.r * 0.6, k.r * 0.3}};
    s.extrude(p, kAxis, k.mid() - 14, k.mid() + 14);
    s.cylinder(kAxis, k.mid() + 14, k.mid() + 30, k.r * 0.3);
    s.front_circle({k.mid() + 30, 0, 0}, k.r * 0.18);
    for (auto [y, z] : {std::pair{-k.r * 0.8, -k.r * 0.1}, {k.r * 0.75, -k.r * 0.02}})
        s.front_circle({k.mid() + 14, y, z}, 6, 2);
}

void pads(Scene& s, const Slot& k) {
    Profile p;
    for (int i = 0; i <= 12; ++i) {
        double t = -0.7 + 1.4 * i / 12;
        p.emplace_back(k.r * 0.85 * std::cos(t), k.r * 0.85 * std::sin(t));
    }
    for (int i = 12; i >= 0; --i) {
        double t = -0.7 + 1.4 * i / 12;
        p.emplace_back(k.r * 0.5 * std::cos(t), k.r * 0.5 * std::sin(t));
    }
    for (double x : {k.xa + k.len() * 0.2, k.xa + k.len() * 0.6}) {
        s.extrude(p, kAxis, x, x + 6);
        s.extrude(p, kAxis, x + 6, x + 18);
        s.pen().hatch(face(s, x + 18, p), 9);
        s.pen().path(face(s, x + 18, p), kLine, true);
    }
}

void caliper(Scene& s, const Slot& k) {
    double r = k.r * 0.45;
    s.extrude(rounded_rect(r, r * 1.3, 14), kAxis, k.xa + k.len() * 0.2, k.xb - k.len() * 0.2);
    s.front_circle({k.xb - k.len() * 0.2, 0, 0}, r * 0.7);
    s.front_circle({k.xb - k.len() * 0.2, 0, 0}, r * 0.55, 2);
    post(s, {k.mid(), r, r * 0.8}, r * 0.4, r * 0.15);
}

void shoes(Scene& s, const Slot& k) {
    for (int side : {-1, 1}) {
        Profile p;
        for (int i = 0; i <= 16; ++i) {
            double t = side * (kPi / 2) - 1.2 + 2.4 * i / 16;
            p.emplace_back(k.r * 0.85 * std::cos(t), k.r * 0.85 * std::sin(t));
        }
        for (int i = 16; i >= 0; --i) {
            double t = side * (kPi / 2) - 1.2 + 2.4 * i / 16;
            p.emplace_back(k.r * 0.7 * std::cos(t), k.r * 0.7 * std::sin(t));
        }
        s.extrude(p, kAxis, k.mid() - 12, k.mid() + 12);
    }
    coil(s, k.mid() - 8, k.mid() + 8, k.r * 0.08, 2, 2, {0, k.r * 0.5, 0});
}

void drum(Scene& s, const Slot& k) {
    double r = k.r * 0.85;
    s.cylinder(kAxis, k.xa + k.len() * 0.1, k.xb - k.len() * 0.3, r);
    s.cylinder(kAxis, k.xb - k.len() * 0.3, k.xb - k.len() * 0.2, r * 0.92);
    s.cylinder(kAxis, k.xb - k.len() * 0.2, k.xb - k.len() * 0.1, r * 0.35);
    s.front_circle({k.xb - k.len() * 0.1, 0, 0}, r * 0.18);
    bolt_circle(s, k.xb - k.len() * 0.2, r * 0.5, 6, 4);
}

void wheel_cylinder(Scene& s, const Slot& k) {
    double r = k.r * 0.3;
    s.extrude(rect_profile(r * 0.8, r * 1.2), kAxis, k.mid() - 20, k.mid() + 20);
    for (int j : {-1, 1}) s.cylinder({0, 0, j * r * 1.2}, k.mid() - 14, k.mid() + 14, r * 0.5);
    post(s, {k.mid(), r * 0.8, 0}, r * 0.6, r * 0.18);
}

void cable(Scene& s, const Slot& k) {
    std::vector<V3> c;
    for (int i = 0; i <= 30; ++i) {
        double t = static_cast<double>(i) / 30;
        c.push_back({k.xa + k.len() * t, k.r * 0.6 * std::sin(t * kPi * 2), k.r * 0.3 * std::cos(t * kPi)});
    }
    s.tube(c, 6);
    s.cylinder({0, c.front().y, c.front().z}, k.xa - 10, k.xa + 4, 10);
    s.cylinder({0, c.back().y, c.back().z}, k.xb - 4, k.xb + 10, 10);
}

void column(Scene& s, const Slot& k) {
    double r = k.r * 0.2;
    s.cylinder(kAxis, k.xa, k.xa + k.len() * 0.15, r * 0.6);
    s.cylinder(kAxis, k.xa + k.len() * 0.15, k.xb - k.len() * 0.1, r);
    s.extrude(rect_profile(r * 2.2, r * 1.6), kAxis, k.mid(), k.mid() + k.len() * 0.12);
    s.cylinder(kAxis, k.xb - k.len() * 0.1, k.xb, r * 0.5);
    for (int i = 1; i < 4; ++i) seam(s, k.xb - k.len() * 0.025 * i, r * 0.5);
}

void tie_rod_end(Scene& s, const Slot& k) {
    double r = k.r * 0.2;
    s.cylinder(kAxis, k.xa + k.len() * 0.1, k.mid(), r * 0.6);
    for (int i = 1; i < 6; ++i) seam(s, k.xa + k.len() * (0.1 + 0.07 * i), r * 0.6);
    s.extrude(rounded_rect(r * 1.2, r * 1.2, 8), kAxis, k.mid(), k.mid() + k.len() * 0.25);
    post(s, {k.mid() + k.len() * 0.12, -r * 3, 0}, r * 1.9, r * 0.5);
}

void steering_wheel(Scene& s, const Slot& k) {
    double r = k.r * 0.95, x = k.mid();
    Path outer = s.circle({x, 0, 0}, {0, 1, 0}, {0, 0, 1}, r);
    Path inner = s.circle({x, 0, 0}, {0, 1, 0}, {0, 0, 1}, r * 0.85);
    s.pen().fill(outer);
    s.pen().path(outer, kLine, true);
    s.pen().path(inner, kLine, true);
    for (double t : {0.0, kPi * 0.75, kPi * 1.25}) {
        V3 a{x, r * 0.25 * std::cos(t), r * 0.25 * std::sin(t)};
        V3 b{x, r * 0.86 * std::cos(t), r * 0.86 * std::sin(t)};
        s.pen().line(s.at(a), s.at(b), 12);
        s.pen().line(s.at(a), s.at(b), 6, false);
    }
    s.cylinder(kAxis, x - 10, x + 16, r * 0.3);
    s.note(outer);
}

void absorber(Scene& s, const Slot& k) {
    double r = k.r * 0.28;
    s.cylinder(kAxis, k.xa, k.xa + k.len() * 0.55, r);
    s.extrude(rect_profile(r * 1.4, r * 0.25), kAxis, k.xa + k.len() * 0.1, k.xa + k.len() * 0.2);
    s.cylinder(kAxis, k.xa + k.len() * 0.55, k.xb - k.len() * 0.08, r * 0.3);
    s.cylinder(kAxis, k.xb - k.len() * 0.08, k.xb, r * 0.8);
    s.front_circle({k.xb, 0, 0}, r * 0.25, 2);
}

void spring(Scene& s, const Slot& k) { coil(s, k.xa + 6, k.xb - 6, k.r * 0.55, 6, 6); }

void support(Scene& s, const Slot& k) {
    double r = k.r * 0.6;
    for (int i = 0; i < 3; ++i) s.cylinder({0, r * 0.6 * std::cos(2 * kPi * i / 3), r * 0.6 * std::sin(2 * kPi * i / 3)},
                                           k.mid() - 30, k.mid() - 4, 4);
    s.cylinder(kAxis, k.mid() - 4, k.mid() + 6, r);
    s.frustum(kAxis, k.mid() + 6, r * 0.6, k.mid() + 22, r * 0.4);
    s.front_circle({k.mid() + 22, 0, 0}, r * 0.15);
}

void arm(Scene& s, const Slot& k) {
    Profile p = {{-k.r * 0.2, -k.r * 0.9}, {k.r * 0.2, -k.r * 0.9}, {k.r * 0.35, k.r * 0.2}, {k.r * 0.1, k.r * 0.9},
                 {-k.r * 0.2, k.r * 0.9}, {-k.r * 0.3, 0}};
    s.extrude(p, kAxis, k.mid() - 10, k.mid() + 10);
    for (auto [y, z] : {std::pair{0.0, -k.r * 0.75}, {-k.r * 0.05, k.r * 0.75}}) s.cylinder({0, y, z}, k.mid() + 10, k.mid() + 24, k.r * 0.13);
    s.front_circle({k.mid() + 10, k.r * 0.18, k.r * 0.1}, k.r * 0.1, 2);
}

void bushing(Scene& s, const Slot& k) {
    double r = k.r * 0.28;
    s.cylinder(kAxis, k.mid() - 16, k.mid() + 16, r);
    s.front_circle({k.mid() + 16, 0, 0}, r * 0.45);
}

void bumper(Scene& s, const Slot& k) {
    Profile p;
    for (int i = 0; i <= 20; ++i) {
        double t = static_cast<double>(i) / 20;
        p.emplace_back(-k.r * 0.35 + k.r * 0.1 * std::sin(t * kPi), -k.r + 2 * k.r * t);
    }
    for (int i = 20; i >= 0; --i) {
        double t = static_cast<double>(i) / 20;
        p.emplace_back(k.r * 0.35 + k.r * 0.1 * std::sin(t * kPi), -k.r + 2 * k.r * t);
    }
    Profile q;
    for (auto it = p.rbegin(); it != p.rend(); ++it) q.push_back(*it);
    s.extrude(q, kAxis, k.mid() - 16, k.mid() + 16);
    Path slot = face(s, k.mid() + 16, rounded_rect(k.r * 0.1, k.r * 0.6, 8));
    s.pen().path(slot, 2, true);
}

void grille(Scene& s, const Slot& k) {
    s.extrude(rounded_rect(k.r * 0.35, k.r * 0.9, 20), kAxis, k.mid() - 8, k.mid() + 8);
    Path f = face(s, k.mid() + 8, rounded_rect(k.r * 0.28, k.r * 0.82, 16));
    s.pen().fill_if(f, [](int, int y) { return y % 10 < 3; });
    s.pen().path(f, 2, true);
}

void beam(Scene& s, const Slot& k) {
    s.extrude(rect_profile(k.r * 0.15, k.r * 0.95), kAxis, k.mid() - 14, k.mid() + 14);
    for (int i = 0; i < 5; ++i) s.front_circle({k.mid() + 14, 0, -k.r * 0.8 + k.r * 0.4 * i}, 6, 2);
}

void door_panel(Scene& s, const Slot& k) {
    Profile p = {{-k.r * 0.95, -k.r * 0.9}, {-k.r * 0.95, k.r * 0.9}, {k.r * 0.1, k.r * 0.9},
                 {k.r * 0.95, k.r * 0.4},   {k.r * 0.95, -k.r * 0.7}, {k.r * 0.1, -k.r * 0.9}};
    Profile q;
    for (auto it = p.rbegin(); it != p.rend(); ++it) q.push_back(*it);
    s.extrude(q, kAxis, k.mid() - 10, k.mid() + 10);
    Profile win = {{k.r * 0.15, k.r * 0.8}, {k.r * 0.85, k.r * 0.35}, {k.r * 0.85, -k.r * 0.6}, {k.r * 0.15, -k.r * 0.8}};
    s.pen().path(face(s, k.mid() + 10, win), 2, true);
    s.pen().line(s.at({k.mid() + 10, -k.r * 0.3, -k.r * 0.9}), s.at({k.mid() + 10, -k.r * 0.3, k.r * 0.9}), 2);
}

void handle(Scene& s, const Slot& k) {
    double r = k.r * 0.3;
    s.extrude(rounded_rect(r * 0.4, r * 1.4, 10), kAxis, k.mid() - 8, k.mid() + 8);
    s.extrude(rounded_rect(r * 0.2, r * 1.1, 6), {0, r * 0.1, 0}, k.mid() + 8, k.mid() + 20);
}

void glass(Scene& s, const Slot& k) {
    Profile win = {{-k.r * 0.8, -k.r * 0.85}, {-k.r * 0.8, k.r * 0.85}, {k.r * 0.3, k.r * 0.85}, {k.r * 0.85, k.r * 0.2},
                   {k.r * 0.85, -k.r * 0.85}};
    Profile q;
    for (auto it = win.rbegin(); it != win.rend(); ++it) q.push_back(*it);
    s.extrude(q, kAxis, k.mid() - 3, k.mid() + 3);
    for (int i = 0; i < 3; ++i) {
        double y = k.r * (0.2 - 0.25 * i);
        s.pen().line(s.at({k.mid() + 3, y, k.r * 0.1}), s.at({k.mid() + 3, y + k.r * 0.2, k.r * 0.4}), 1.5);
    }
}

void lock(Scene& s, const Slot& k) {
    double r = k.r * 0.3;
    s.extrude(rect_profile(r, r * 0.6), kAxis, k.mid() - 16, k.mid() + 16);
    s.front_circle({k.mid() + 16, r * 0.3, 0}, r * 0.25);
    s.cylinder({0, -r * 0.5, 0}, k.mid() + 16, k.mid() + 30, r * 0.15);
}

void lamp(Scene& s, const Slot& k) {
    double hy = k.r * 0.45, hz = k.r * 0.85;
    s.extrude(rounded_rect(hy, hz, 20), kAxis, k.xa + k.len() * 0.2, k.mid() + 10);
    Path lens = face(s, k.mid() + 10, rounded_rect(hy * 0.85, hz * 0.9, 16));
    s.pen().path(lens, 2, true);
    for (int j : {-1, 1}) s.front_circle({k.mid() + 10, 0, j * hz * 0.45}, hy * 0.6, 2);
    post(s, {k.xa + k.len() * 0.35, hy, 0}, hy * 0.3, hy * 0.2);
}

void bulb(Scene& s, const Slot& k) {
    double r = k.r * 0.25;
    s.cylinder(kAxis, k.xa + k.len() * 0.2, k.xa + k.len() * 0.45, r * 0.6);
    for (int i = 1; i < 4; ++i) seam(s, k.xa + k.len() * (0.2 + 0.06 * i), r * 0.6);
    double x = k.xa + k.len() * 0.45;
    for (int i = 0; i < 8; ++i) {
        double a = kPi * i / 8, b = kPi * (i + 1) / 8;
        double xa = x + r * (1 - std::cos(a)), xb = x + r * (1 - std::cos(b));
        s.frustum(kAxis, xa, std::max(r * 0.5, r * std::sin(a)), xb, std::max(r * 0.2, r * std::sin(b)));
    }
}

void blade(Scene& s, const Slot& k) {
    s.extrude(rect_profile(k.r * 0.06, k.r * 0.95), kAxis, k.mid() - 6, k.mid() + 6);
    s.extrude(rect_profile(k.r * 0.03, k.r * 0.9), {0, -k.r * 0.09, 0}, k.mid() - 3, k.mid() + 3);
    s.extrude(rect_profile(k.r * 0.08, k.r * 0.1), {0, k.r * 0.12, 0}, k.mid() - 8, k.mid() + 8);
}

void jar(Scene& s, const Slot& k) {
    double hy = k.r * 0.7, hz = k.r * 0.45;
    s.extrude(rounded_rect(hy, hz, 14), kAxis, k.xa + k.len() * 0.1, k.xb - k.len() * 0.3);
    post(s, {k.mid() - k.len() * 0.1, hy, -hz * 0.4}, hy * 0.3, hz * 0.3);
    s.cylinder({0, -hy * 0.6, 0}, k.xb - k.len() * 0.3, k.xb - k.len() * 0.1, hz * 0.35);
}

using Shape = void (*)(Scene&, const Slot&);

// The drawing of a part by its name, and how big it is drawn (1 the largest).
std::pair<Shape, double> shape_of(const std::string& name) {
    auto has = [&](const char* w) { return name.find(w) != std::string::npos; };
    std::string first = name.substr(0, name.find_first_of(" ,"));
    if (first == "BLOCK") return {block, 1};
    if (first == "HEAD") return {head, 1};
    if (first == "GASKET") return {gasket, 1};
    if (first == "COVER") {
        if (has("TIMING")) return {plate_cover, 0.9};
        if (has("CLUTCH")) return {clutch_cover, 1};
        if (has("BUMPER")) return {bumper, 1};
        return {head_cover, 1};
    }
    if (first == "PISTON") return {piston, 0.8};
    if (first == "RING") return {rings, 0.8};
    if (first == "ROD") return {conrod, 0.9};
    if (first == "CRANKSHAFT") return {crankshaft, 1};
    if (first == "PULLEY") return {pulley, 0.8};
    if (first == "PUMP") return has("FUEL") ? std::pair<Shape, double>{motor, 0.6} : std::pair<Shape, double>{pump, 0.9};
    if (first == "ELEMENT") return has("AIR") ? std::pair<Shape, double>{flat_filter, 0.9} : std::pair<Shape, double>{element, 0.8};
    if (first == "FILTER") return {canister, 0.9};
    if (first == "PAN") return {pan, 1};
    if (first == "PLUG") return has("SPARK") ? std::pair<Shape, double>{spark_plug, 0.8} : std::pair<Shape, double>{plug, 0.7};
    if (first == "STRAINER") return {strainer, 0.8};
    if (first == "RADIATOR" || first == "CONDENSER") return {radiator, has("HEATER") ? 0.6 : 1};
    if (first == "HOSE") return {hose, 0.8};
    if (first == "CAP") return {cap, 0.8};
    if (first == "THERMOSTAT") return {thermostat, 0.8};
    if (first == "FAN") return {fan, 1};
    if (first == "CLEANER") return {box_housing, 1};
    if (first == "MANIFOLD") return {manifold, 1};
    if (first == "PIPE") return {pipe, 1};
    if (first == "COIL") return {ign_coil, 0.8};
    if (first == "STARTER" || first == "ALTERNATOR" || first == "MOTOR" || first == "COMPRESSOR") return {motor, 0.9};
    if (first == "BATTERY") return {battery, 1};
    if (first == "INJECTOR") return {injector, 0.8};
    if (first == "BODY") return {throttle, 0.8};
    if (first == "DISC") return has("CLUTCH") ? std::pair<Shape, double>{clutch_disc, 1} : std::pair<Shape, double>{disc, 1};
    if (first == "BEARING") return {bearing, 0.9};
    if (first == "FORK") return {lever, 0.9};
    if (first == "CASE") return {case_housing, 1};
    if (first == "SEAL") return {seal, 0.8};
    if (first == "GEAR") return has("STEERING") ? std::pair<Shape, double>{rack, 1} : std::pair<Shape, double>{gear, 0.9};
    if (first == "SHAFT") return {drive_shaft, 1};
    if (first == "BOOT") return {boot, 0.8};
    if (first == "KNUCKLE") return {knuckle, 1};
    if (first == "PAD") return {pads, 0.9};
    if (first == "CYLINDER") return has("REAR WHEEL") ? std::pair<Shape, double>{wheel_cylinder, 0.8} : std::pair<Shape, double>{caliper, 0.9};
    if (first == "SHOE") return {shoes, 1};
    if (first == "DRUM") return {drum, 1};
    if (first == "CABLE") return {cable, 1};
    if (first == "COLUMN") return {column, 1};
    if (first == "END") return {tie_rod_end, 0.9};
    if (first == "WHEEL") return {steering_wheel, 1};
    if (first == "ABSORBER") return {absorber, 1};
    if (first == "SPRING") return {spring, 1};
    if (first == "SUPPORT") return {support, 0.9};
    if (first == "ARM") return has("WIPER") ? std::pair<Shape, double>{lever, 1} : std::pair<Shape, double>{arm, 1};
    if (first == "BUSHING") return {bushing, 0.8};
    if (first == "GRILLE") return {grille, 1};
    if (first == "REINFORCEMENT") return {beam, 1};
    if (first == "PANEL") return {door_panel, 1};
    if (first == "HANDLE") return {handle, 0.8};
    if (first == "GLASS") return {glass, 1};
    if (first == "LOCK") return {lock, 0.8};
    if (first == "UNIT" || first == "LAMP") return {lamp, has("SIDE") ? 0.6 : 1};
    if (first == "BULB") return {bulb, 0.8};
    if (first == "BLADE") return {blade, 1};
    if (first == "JAR") return {jar, 1};
    throw BuildError("no drawing for the part \"" + name + "\"");
}

// --- The page ------------------------------------------------------------------

struct Box {
    int left, top, right, bottom;
    bool overlaps(const Box& o, int gap) const {
        return left - gap < o.right && o.left - gap < right && top - gap < o.bottom && o.top - gap < bottom;
    }
};

const FigureDef& figure(const std::string& no) {
    for (const auto& f : figures())
        if (no == f.no) return f;
    throw BuildError("the demo has no figure " + no);
}

void frame(Pen& pen, const FigureDef& fig, int variant) {
    const int w = kIllustrationWidth, h = kIllustrationHeight;
    pen.path({{12, 12}, {w - 13.0, 12}, {w - 13.0, h - 13.0}, {12, h - 13.0}}, 3, true);
    pen.text({36, 32}, fig.no, 6);
    pen.text({36, 84}, fig.name, 2);
    if (variant == 1) pen.text({36, 108}, "FROM CHANGE", 2);
}

bool blank(const Picture& pic, const Box& b, int margin) {
    for (int y = b.top - margin; y < b.bottom + margin; ++y)
        for (int x = b.left - margin; x < b.right + margin; ++x)
            if (pic.get(x, y)) return false;
    return true;
}

struct Leader {
    P2 a, b;
};

// Where a callout line from `anchor` meets box b.
P2 leader_end(P2 anchor, const Box& b) {
    return {std::clamp(anchor.x, static_cast<double>(b.left - 6), static_cast<double>(b.right + 6)),
            std::clamp(anchor.y, static_cast<double>(b.top - 6), static_cast<double>(b.bottom + 6))};
}

bool crosses(const Leader& l, const Box& b, int gap) {
    const int steps = 64;
    for (int i = 0; i <= steps; ++i) {
        P2 p = l.a + (l.b - l.a) * (static_cast<double>(i) / steps);
        if (p.x > b.left - gap && p.x < b.right + gap && p.y > b.top - gap && p.y < b.bottom + gap) return true;
    }
    return false;
}

// Places a text near `anchor` in direction `dir` (or the opposite one), on
// blank paper, clear of the texts and callout lines already placed, and
// inside the page; the box it takes.
Box place(const Picture& pic, P2 anchor, P2 dir, int tw, int th, double reach, const std::vector<Box>& taken,
          const std::vector<Leader>& leaders) {
    const int margin = 30;
    const P2 side{-dir.y, dir.x};
    for (int attempt = 0; attempt < 40; ++attempt) {
        for (double sign : {1.0, -1.0}) {
            for (double lateral : {0.0, 50.0, -50.0, 110.0, -110.0}) {
                P2 c = anchor + dir * (sign * (reach + 16 * attempt + th)) + side * lateral;
                Box b{static_cast<int>(c.x - tw / 2.0), static_cast<int>(c.y - th / 2.0), 0, 0};
                b.right = b.left + tw;
                b.bottom = b.top + th;
                if (b.left < margin || b.top < 140 || b.right > kIllustrationWidth - margin ||
                    b.bottom > kIllustrationHeight - margin)
                    continue;
                Leader mine{anchor, leader_end(anchor, b)};
                if (std::any_of(taken.begin(), taken.end(),
                                [&](const Box& o) { return b.overlaps(o, 14) || crosses(mine, o, 6); }))
                    continue;
                if (std::any_of(leaders.begin(), leaders.end(), [&](const Leader& l) { return crosses(l, b, 8); }))
                    continue;
                if (blank(pic, b, 10)) return b;
            }
        }
    }
    throw BuildError("no room for a callout");
}

Leader callout(Pen& pen, P2 anchor, const Box& b) {
    P2 end = leader_end(anchor, b);
    pen.line(anchor, end, 7, false);
    pen.line(anchor, end, 2);
    pen.disc(anchor, 4.5);
    return {anchor, end};
}

// The outline point farthest along a direction, drawn a little inside.
P2 anchor_of(const Path& outline, P2 centre, P2 dir) {
    P2 best = centre;
    double far = -1e18;
    for (const auto& p : outline) {
        double d = dot(p - centre, dir) - 0.35 * std::fabs(dot(p - centre, P2{dir.y, -dir.x}));
        if (d > far) far = d, best = p;
    }
    P2 in = centre - best;
    double l = std::hypot(in.x, in.y);
    return l > 8 ? best + in * (4 / l) : best;
}

}  // namespace

Illustration illustration(const std::string& figure_no, int variant) {
    const FigureDef& fig = figure(figure_no);
    Illustration out{Picture(kIllustrationWidth, kIllustrationHeight), {}};
    Pen pen(&out.picture);
    Scene scene(&pen, Projection{kOrigin}, kLine);

    // The centre line, then the parts from the far end to the near one.
    pen.dashed({scene.at({-60, 0, 0}), scene.at({kAxisLength + 60, 0, 0})}, 1.5, {48, 10, 8, 10});
    const size_t n = fig.parts.size();
    const double slot = kAxisLength / static_cast<double>(n);
    const double rmax = std::min(slot * 0.5, 140.0);
    std::vector<Path> outlines;
    std::vector<P2> centres;
    for (size_t i = 0; i < n; ++i) {
        auto [shape, size] = shape_of(fig.parts[i].name);
        double grow = variant == 1 && i == n / 2 ? 1.15 : 1.0;
        Slot k{slot * static_cast<double>(i) + slot * 0.12, slot * static_cast<double>(i + 1) - slot * 0.12,
               rmax * size * grow, variant};
        scene.take_outline();
        shape(scene, k);
        outlines.push_back(scene.take_outline());
        centres.push_back(scene.at({k.mid(), 0, 0}));
    }
    frame(pen, fig, variant);

    // Callouts: alternately to the upper right and the lower left of the
    // centre line, each code's rectangle a text placement.
    const P2 up{0.5, -0.866}, down{-0.5, 0.866};
    std::vector<Box> taken = {{20, 20, 900, 135}};
    std::vector<Leader> leaders;
    const int th = Pen::text_height(kCodeScale);
    for (size_t i = 0; i < n; ++i) {
        const std::string code = fig.parts[i].pnc;
        P2 dir = i % 2 == 0 ? up : down;
        P2 a = anchor_of(outlines[i], centres[i], dir);
        int tw = Pen::text_width(code, kCodeScale);
        Box b = place(out.picture, a, dir, tw, th, 60, taken, leaders);
        taken.push_back(b);
        leaders.push_back(callout(pen, a, b));
        pen.text({static_cast<double>(b.left), static_cast<double>(b.top)}, code, kCodeScale);
        out.texts.push_back({b.left - 4, b.top - 4, b.right + 4, b.bottom + 4, '0', 0, code});
    }
    // References to sub-illustrations: the figure number in a double box.
    auto subs = sub_illustrations().find(figure_no);
    if (subs != sub_illustrations().end()) {
        for (size_t j = 0; j < subs->second.size(); ++j) {
            const std::string& ref = subs->second[j];
            size_t part = std::min(j, n - 1);
            P2 a = anchor_of(outlines[part], centres[part], up);
            int tw = Pen::text_width(ref, kCodeScale + 1), h = Pen::text_height(kCodeScale + 1);
            Box b = place(out.picture, a, up, tw + 24, h + 24, 120, taken, leaders);
            taken.push_back(b);
            leaders.push_back(callout(pen, a, b));
            Box inner{b.left + 5, b.top + 5, b.right - 5, b.bottom - 5};
            pen.fill({{double(b.left), double(b.top)}, {double(b.right), double(b.top)}, {double(b.right), double(b.bottom)},
                      {double(b.left), double(b.bottom)}});
            for (const Box& r : {b, inner})
                pen.path({{double(r.left), double(r.top)}, {double(r.right), double(r.top)},
                          {double(r.right), double(r.bottom)}, {double(r.left), double(r.bottom)}},
                         2, true);
            pen.text({b.left + 12.0, b.top + 12.0}, ref, kCodeScale + 1);
            out.texts.push_back({b.left, b.top, b.right, b.bottom, '1', 0, ref});
        }
    }
    return out;
}

const std::map<std::string, std::vector<std::string>>& sub_illustrations() {
    static const std::map<std::string, std::vector<std::string>> k = {
        {"1101", {"1301", "1501"}},
        {"4301", {"4101"}},
    };
    return k;
}

const std::string& DemoImageFile::locator(const std::string& figure_no, int variant) const {
    auto it = locators.find(figure_no + std::to_string(variant));
    if (it == locators.end()) throw BuildError("no demo image for figure " + figure_no);
    return it->second;
}

const DemoImageFile& demo_image_file() {
    static const DemoImageFile file = [] {
        DemoImageFile f;
        ImageFile images;
        uint32_t number = 0;
        for (size_t i = 0; i < figures().size(); ++i) {
            const FigureDef& fig = figures()[i];
            for (int variant = 0; variant < 2; ++variant) {
                Illustration ill = illustration(fig.no, variant);
                StoredImage img;
                img.number = ++number;
                img.kind = '3';
                img.id = std::string(fig.no) + "00" + std::to_string(variant + 1);
                img.width = ill.picture.width();
                img.height = ill.picture.height();
                img.coded = fax_code(ill.picture, i % 4 == 3 ? FaxCoding::kGroup3TwoD : FaxCoding::kGroup4);
                img.texts = ill.texts;
                f.locators[std::string(fig.no) + std::to_string(variant)] = images.add(img);
            }
        }
        f.data = images.bytes();
        return f;
    }();
    return file;
}

}  // namespace demo

void write_demo_images(const CdWriter& cd) { cd.put("", "IMAGEF.DAT", demo::demo_image_file().data); }

}  // namespace pxbuild
