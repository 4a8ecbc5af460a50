#include "drawing.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace pxbuild::draw {

namespace {

constexpr double kPi = 3.14159265358979323846;

// 5 x 7 glyphs, a row a string.
const std::map<char, const char*>& glyphs() {
    static const std::map<char, const char*> k = {
        {'0', ".###.#...##..###.#.###..##...#.###."}, {'1', "..#...##....#....#....#....#...###."},
        {'2', ".###.#...#....#...#...#...#...#####"}, {'3', "#####...#...#.....#.....##...#.###."},
        {'4', "...#...##..#.#.#..#.#####...#....#."}, {'5', "######....####.....#....##...#.###."},
        {'6', "..##..#...#....####.#...##...#.###."}, {'7', "#####....#...#...#...#....#....#..."},
        {'8', ".###.#...##...#.###.#...##...#.###."}, {'9', ".###.#...##...#.####....#...#..##.."},
        {'A', ".###.#...##...#######...##...##...#"}, {'B', "####.#...##...#####.#...##...#####."},
        {'C', ".###.#...##....#....#....#...#.###."}, {'D', "###..#..#.#...##...##...##..#.###.."},
        {'E', "######....#....####.#....#....#####"}, {'F', "######....#....####.#....#....#...."},
        {'G', ".###.#...##....#.####...##...#.####"}, {'H', "#...##...##...#######...##...##...#"},
        {'I', ".###...#....#....#....#....#...###."}, {'J', "..###...#....#....#....##..#..##..."},
        {'K', "#...##..#.#.#..##...#.#..#..#.#...#"}, {'L', "#....#....#....#....#....#....#####"},
        {'M', "#...###.###.#.##.#.##...##...##...#"}, {'N', "#...##...###..##.#.##..###...##...#"},
        {'O', ".###.#...##...##...##...##...#.###."}, {'P', "####.#...##...#####.#....#....#...."},
        {'Q', ".###.#...##...##...##.#.##..#..##.#"}, {'R', "####.#...##...#####.#.#..#..#.#...#"},
        {'S', ".#####....#.....###.....#....#####."}, {'T', "#####..#....#....#....#....#....#.."},
        {'U', "#...##...##...##...##...##...#.###."}, {'V', "#...##...##...##...##...#.#.#...#.."},
        {'W', "#...##...##...##.#.##.#.##.#.#.#.#."}, {'X', "#...##...#.#.#...#...#.#.#...##...#"},
        {'Y', "#...##...#.#.#...#....#....#....#.."}, {'Z', "#####....#...#...#...#...#....#####"},
        {'-', "...............#####..............."}, {'.', "..........................##...##.."},
        {',', "....................##....#...#...."}, {'/', ".........#...#...#...#...#........."},
        {'&', ".##..#..#.#.#...#...#.#.##..#..##.#"}, {'(', "...#...#...#....#....#.....#.....#."},
        {')', ".#.....#.....#....#....#...#...#..."}, {':', "......##...##.......##...##........"},
        {' ', "..................................."},
    };
    return k;
}

double cross2(P2 o, P2 a, P2 b) { return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x); }

}  // namespace

V3 cross(V3 a, V3 b) { return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x}; }

V3 normalize(V3 a) {
    double l = std::sqrt(a.x * a.x + a.y * a.y + a.z * a.z);
    return l > 0 ? a * (1 / l) : a;
}

void Pen::span(int y, int x0, int x1, bool black) {
    for (int x = x0; x <= x1; ++x) pic_->set(x, y, black);
}

void Pen::disc(P2 c, double r, bool black) {
    if (r < 0.75) {
        pic_->set(static_cast<int>(std::lround(c.x)), static_cast<int>(std::lround(c.y)), black);
        return;
    }
    int y0 = static_cast<int>(std::floor(c.y - r)), y1 = static_cast<int>(std::ceil(c.y + r));
    for (int y = y0; y <= y1; ++y) {
        double dy = y - c.y;
        double h = r * r - dy * dy;
        if (h < 0) continue;
        double dx = std::sqrt(h);
        span(y, static_cast<int>(std::lround(c.x - dx)), static_cast<int>(std::lround(c.x + dx)), black);
    }
}

void Pen::line(P2 a, P2 b, double w, bool black) {
    double len = std::hypot(b.x - a.x, b.y - a.y);
    int steps = std::max(1, static_cast<int>(std::ceil(len)));
    double r = w / 2;
    for (int i = 0; i <= steps; ++i) {
        double t = static_cast<double>(i) / steps;
        disc({a.x + (b.x - a.x) * t, a.y + (b.y - a.y) * t}, r, black);
    }
}

void Pen::path(const Path& p, double w, bool closed, bool black) {
    for (size_t i = 1; i < p.size(); ++i) line(p[i - 1], p[i], w, black);
    if (closed && p.size() > 2) line(p.back(), p.front(), w, black);
}

void Pen::dashed(const Path& p, double w, const std::vector<double>& pattern) {
    size_t k = 0;
    double left = pattern[0];
    for (size_t i = 1; i < p.size(); ++i) {
        P2 a = p[i - 1], b = p[i];
        double len = std::hypot(b.x - a.x, b.y - a.y), done = 0;
        while (done < len) {
            double step = std::min(left, len - done);
            P2 s = a + (b - a) * (done / len), e = a + (b - a) * ((done + step) / len);
            if (k % 2 == 0) line(s, e, w);
            done += step;
            left -= step;
            if (left <= 1e-9) {
                k = (k + 1) % pattern.size();
                left = pattern[k];
            }
        }
    }
}

namespace {

// Calls at(x, y) for every pixel whose centre lies inside the polygon (even-odd
// rule, row by row).
void each_inside(const Path& poly, const std::function<void(int, int)>& at) {
    if (poly.size() < 3) return;
    double ymin = poly[0].y, ymax = poly[0].y;
    for (const auto& p : poly) ymin = std::min(ymin, p.y), ymax = std::max(ymax, p.y);
    std::vector<double> xs;
    for (int y = static_cast<int>(std::floor(ymin)); y <= static_cast<int>(std::ceil(ymax)); ++y) {
        double sy = y + 0.5;
        xs.clear();
        for (size_t i = 0; i < poly.size(); ++i) {
            P2 a = poly[i], b = poly[(i + 1) % poly.size()];
            if ((a.y <= sy) != (b.y <= sy)) xs.push_back(a.x + (sy - a.y) / (b.y - a.y) * (b.x - a.x));
        }
        std::sort(xs.begin(), xs.end());
        for (size_t i = 0; i + 1 < xs.size(); i += 2)
            for (int x = static_cast<int>(std::ceil(xs[i] - 0.5)); x <= static_cast<int>(std::floor(xs[i + 1] - 0.5)); ++x)
                at(x, y);
    }
}

}  // namespace

void Pen::fill_if(const Path& poly, const std::function<bool(int, int)>& pattern) {
    each_inside(poly, [&](int x, int y) { pic_->set(x, y, pattern(x, y)); });
}

void Pen::fill(const Path& poly, bool black) {
    fill_if(poly, [black](int, int) { return black; });
}

void Pen::hatch(const Path& poly, int spacing, bool rising) {
    each_inside(poly, [&](int x, int y) {
        int d = rising ? x + y : x - y + 100000;
        if (d % spacing == 0 || d % spacing == 1) pic_->set(x, y, true);
    });
}

int Pen::text_width(const std::string& s, int scale) {
    return s.empty() ? 0 : static_cast<int>(s.size()) * 6 * scale - scale;
}

int Pen::text(P2 top_left, const std::string& s, int scale) {
    int x = static_cast<int>(std::lround(top_left.x)), y = static_cast<int>(std::lround(top_left.y));
    for (char c : s) {
        auto it = glyphs().find(c);
        const char* g = it == glyphs().end() ? glyphs().at(' ') : it->second;
        for (int r = 0; r < 7; ++r)
            for (int col = 0; col < 5; ++col)
                if (g[r * 5 + col] == '#')
                    for (int dy = 0; dy < scale; ++dy)
                        for (int dx = 0; dx < scale; ++dx) pic_->set(x + col * scale + dx, y + r * scale + dy, true);
        x += 6 * scale;
    }
    return text_width(s, scale);
}

Path convex_hull(Path pts) {
    std::sort(pts.begin(), pts.end(), [](P2 a, P2 b) { return a.x < b.x || (a.x == b.x && a.y < b.y); });
    if (pts.size() < 3) return pts;
    Path h(2 * pts.size());
    size_t k = 0;
    for (size_t i = 0; i < pts.size(); ++i) {
        while (k >= 2 && cross2(h[k - 2], h[k - 1], pts[i]) <= 0) --k;
        h[k++] = pts[i];
    }
    for (size_t i = pts.size() - 1, t = k + 1; i > 0; --i) {
        while (k >= t && cross2(h[k - 2], h[k - 1], pts[i - 1]) <= 0) --k;
        h[k++] = pts[i - 1];
    }
    h.resize(k - 1);
    return h;
}

P2 Projection::operator()(V3 v) const {
    const double c = std::cos(kPi / 6), s = std::sin(kPi / 6);
    return {origin.x + (v.x - v.z) * c, origin.y + (v.x + v.z) * s - v.y};
}

Path Scene::take_outline() {
    Path p;
    p.swap(outline_);
    return p;
}

void Scene::note(const Path& p) { outline_.insert(outline_.end(), p.begin(), p.end()); }

void Scene::extrude(const std::vector<std::pair<double, double>>& profile, V3 c, double x0, double x1) {
    const size_t n = profile.size();
    if (n < 3) return;
    Path back(n), front(n);
    for (size_t i = 0; i < n; ++i) {
        back[i] = at({c.x + x0, c.y + profile[i].first, c.z + profile[i].second});
        front[i] = at({c.x + x1, c.y + profile[i].first, c.z + profile[i].second});
    }
    Path all = back;
    all.insert(all.end(), front.begin(), front.end());
    Path hull = convex_hull(all);
    pen_->fill(hull);
    // Faces of the sides: visible when their outward normal leans toward the
    // viewer (y + z > 0).
    std::vector<bool> vis(n);
    std::vector<double> ang(n);
    for (size_t i = 0; i < n; ++i) {
        auto a = profile[i], b = profile[(i + 1) % n];
        double ny = b.second - a.second, nz = -(b.first - a.first);  // outward for a counter-clockwise profile
        vis[i] = ny + nz > 1e-9;
        ang[i] = std::atan2(nz, ny);
    }
    for (size_t i = 0; i < n; ++i) {
        if (vis[i]) pen_->line(back[i], back[(i + 1) % n], w_);
        size_t prev = (i + n - 1) % n;
        double turn = std::fabs(std::remainder(ang[i] - ang[prev], 2 * kPi));
        if (vis[i] != vis[prev] || (vis[i] && turn > 0.5)) pen_->line(back[i], front[i], w_);
    }
    pen_->path(front, w_, true);
    note(hull);
}

std::vector<std::pair<double, double>> circle_profile(double r, int steps) {
    std::vector<std::pair<double, double>> p;
    for (int i = 0; i < steps; ++i) {
        double t = 2 * kPi * i / steps;
        p.emplace_back(r * std::cos(t), r * std::sin(t));
    }
    return p;
}

std::vector<std::pair<double, double>> rect_profile(double hy, double hz) {
    return {{-hy, -hz}, {hy, -hz}, {hy, hz}, {-hy, hz}};
}

std::vector<std::pair<double, double>> polygon_profile(double r, int sides, double phase) {
    std::vector<std::pair<double, double>> p;
    for (int i = 0; i < sides; ++i) {
        double t = phase + 2 * kPi * i / sides;
        p.emplace_back(r * std::cos(t), r * std::sin(t));
    }
    return p;
}

std::vector<std::pair<double, double>> gear_profile(double r, double depth, int teeth) {
    std::vector<std::pair<double, double>> p;
    const int per = 8;
    for (int i = 0; i < teeth * per; ++i) {
        double t = 2 * kPi * i / (teeth * per);
        int k = i % per;
        double rr = (k >= 1 && k <= 3) ? r : (k == 0 || k == 4) ? r - depth / 2 : r - depth;
        p.emplace_back(rr * std::cos(t), rr * std::sin(t));
    }
    return p;
}

void Scene::cylinder(V3 c, double x0, double x1, double r) { extrude(circle_profile(r), c, x0, x1); }

void Scene::frustum(V3 c, double x0, double r0, double x1, double r1) {
    const int n = 96;
    Path back, front;
    for (int i = 0; i < n; ++i) {
        double t = 2 * kPi * i / n;
        back.push_back(at({c.x + x0, c.y + r0 * std::cos(t), c.z + r0 * std::sin(t)}));
        front.push_back(at({c.x + x1, c.y + r1 * std::cos(t), c.z + r1 * std::sin(t)}));
    }
    Path all = back;
    all.insert(all.end(), front.begin(), front.end());
    Path hull = convex_hull(all);
    pen_->fill(hull);
    pen_->path(hull, w_, true);
    pen_->path(front, w_, true);
    note(hull);
}

Path Scene::circle(V3 c, V3 u, V3 v, double r, int steps) const {
    Path p;
    for (int i = 0; i < steps; ++i) {
        double t = 2 * kPi * i / steps;
        p.push_back(at(c + u * (r * std::cos(t)) + v * (r * std::sin(t))));
    }
    return p;
}

void Scene::front_circle(V3 c, double r, double w) {
    pen_->path(circle(c, {0, 1, 0}, {0, 0, 1}, r), w < 0 ? w_ : w, true);
}

void Scene::curve(const std::vector<V3>& pts, double w, bool halo) {
    Path p;
    for (const auto& v : pts) p.push_back(at(v));
    if (halo) pen_->path(p, w + 6, false, false);
    pen_->path(p, w);
    note(p);
}

void Scene::tube(const std::vector<V3>& centre, double r) {
    if (centre.size() < 2) return;
    Path left, right;
    for (size_t i = 0; i < centre.size(); ++i) {
        P2 a = at(centre[i > 0 ? i - 1 : 0]), b = at(centre[i + 1 < centre.size() ? i + 1 : i]);
        P2 d = b - a;
        double l = std::hypot(d.x, d.y);
        P2 nrm = l > 0 ? P2{-d.y / l, d.x / l} : P2{0, 1};
        P2 m = at(centre[i]);
        left.push_back(m + nrm * r);
        right.push_back(m - nrm * r);
    }
    Path poly = left;
    poly.insert(poly.end(), right.rbegin(), right.rend());
    pen_->fill(poly);
    pen_->path(left, w_);
    pen_->path(right, w_);
    // The ends as rings across the tube.
    for (size_t e : {size_t(0), centre.size() - 1}) {
        V3 t = normalize(e == 0 ? centre[1] - centre[0] : centre[e] - centre[e - 1]);
        V3 u = normalize(cross(t, std::fabs(t.y) < 0.9 ? V3{0, 1, 0} : V3{1, 0, 0}));
        V3 v = cross(t, u);
        Path ring = circle(centre[e], u, v, r);
        if (e != 0) pen_->fill(ring);
        pen_->path(ring, w_, true);
        note(ring);
    }
    note(left);
    note(right);
}

}  // namespace pxbuild::draw
