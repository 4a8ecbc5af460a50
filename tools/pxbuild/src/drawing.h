// Line drawing on a one-bit picture for the demo illustrations: thick lines,
// dashed centre lines, filled and hatched polygons, a small block font, and
// solids seen in isometric projection, drawn back to front so that nearer
// parts hide farther ones.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "pxbuild/image_writer.h"

namespace pxbuild::draw {

struct P2 {
    double x = 0, y = 0;
};
inline P2 operator+(P2 a, P2 b) { return {a.x + b.x, a.y + b.y}; }
inline P2 operator-(P2 a, P2 b) { return {a.x - b.x, a.y - b.y}; }
inline P2 operator*(P2 a, double s) { return {a.x * s, a.y * s}; }
inline double dot(P2 a, P2 b) { return a.x * b.x + a.y * b.y; }

struct V3 {
    double x = 0, y = 0, z = 0;
};
inline V3 operator+(V3 a, V3 b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
inline V3 operator-(V3 a, V3 b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
inline V3 operator*(V3 a, double s) { return {a.x * s, a.y * s, a.z * s}; }
V3 cross(V3 a, V3 b);
V3 normalize(V3 a);

using Path = std::vector<P2>;

class Pen {
public:
    explicit Pen(Picture* picture) : pic_(picture) {}
    Picture& picture() { return *pic_; }

    // A round-ended line `w` pixels wide.
    void line(P2 a, P2 b, double w, bool black = true);
    void path(const Path& p, double w, bool closed = false, bool black = true);
    // Alternating drawn and skipped lengths along the path.
    void dashed(const Path& p, double w, const std::vector<double>& pattern);
    void disc(P2 c, double r, bool black = true);
    // Fills a polygon (even-odd); `pattern` decides pixel by pixel.
    void fill(const Path& poly, bool black = false);
    void fill_if(const Path& poly, const std::function<bool(int x, int y)>& pattern);
    // Diagonal hatching inside a polygon.
    void hatch(const Path& poly, int spacing, bool rising = true);
    // Text in a 5 x 7 block font, `scale` pixels a dot; upper case, digits and
    // a little punctuation. Returns the width drawn.
    int text(P2 top_left, const std::string& s, int scale);
    static int text_width(const std::string& s, int scale);
    static int text_height(int scale) { return 7 * scale; }

private:
    void span(int y, int x0, int x1, bool black);
    Picture* pic_;
};

Path convex_hull(Path pts);

// Isometric projection: x to the lower right, z to the lower left, y up;
// the faces facing +x, +y and +z are the visible ones.
struct Projection {
    P2 origin;
    P2 operator()(V3 v) const;
    static V3 view() { return {1, 1, 1}; }
};

// A solid drawn with a pen: everything in 3-D goes through the projection.
class Scene {
public:
    Scene(Pen* pen, Projection proj, double line_width) : pen_(pen), proj_(proj), w_(line_width) {}
    Pen& pen() { return *pen_; }
    P2 at(V3 v) const { return proj_(v); }
    double width() const { return w_; }

    // Every point a solid's outline passed through, since the last take.
    Path take_outline();

    // A prism: a closed profile in the y-z plane (counter-clockwise seen from
    // +x, centred on `centre`) between x0 and x1. Hides what is behind it.
    void extrude(const std::vector<std::pair<double, double>>& profile, V3 centre, double x0, double x1);
    // Round shapes along the x axis: a cylinder, a cone frustum.
    void cylinder(V3 centre, double x0, double x1, double r);
    void frustum(V3 centre, double x0, double r0, double x1, double r1);
    // A circle lying in the plane spanned by u and v (unit vectors).
    Path circle(V3 c, V3 u, V3 v, double r, int steps = 96) const;
    // A circle on the front (+x) face at x.
    void front_circle(V3 c, double r, double w = -1);
    // A 3-D polyline; with `halo` a white band first, so that it reads as
    // passing in front.
    void curve(const std::vector<V3>& pts, double w, bool halo = false);
    // A round tube along a 3-D centre line.
    void tube(const std::vector<V3>& centre, double r);
    void note(const Path& p);

private:
    Pen* pen_;
    Projection proj_;
    double w_;
    Path outline_;
};

// Profiles for Scene::extrude.
std::vector<std::pair<double, double>> circle_profile(double r, int steps = 96);
std::vector<std::pair<double, double>> rect_profile(double half_y, double half_z);
std::vector<std::pair<double, double>> polygon_profile(double r, int sides, double phase = 0);
std::vector<std::pair<double, double>> gear_profile(double r, double depth, int teeth);

}  // namespace pxbuild::draw
