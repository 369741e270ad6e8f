#include "svg_path.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <numbers>
#include <sstream>

namespace varlo_shapes {

namespace {

class Tokens {
 public:
  explicit Tokens(const std::string& s) : s_(s) {}

  void SkipSpace() {
    while (i_ < s_.size() && (std::isspace(static_cast<unsigned char>(s_[i_])) || s_[i_] == ',')) ++i_;
  }
  bool AtEnd() {
    SkipSpace();
    return i_ >= s_.size();
  }
  bool AtCommand() {
    SkipSpace();
    return i_ < s_.size() && std::isalpha(static_cast<unsigned char>(s_[i_])) && s_[i_] != 'e' && s_[i_] != 'E';
  }
  char Command() { return s_[i_++]; }
  bool AtNumber() {
    SkipSpace();
    if (i_ >= s_.size()) return false;
    const char c = s_[i_];
    return std::isdigit(static_cast<unsigned char>(c)) || c == '-' || c == '+' || c == '.';
  }
  bool Number(double& v) {
    SkipSpace();
    const size_t from = i_;
    if (i_ < s_.size() && (s_[i_] == '-' || s_[i_] == '+')) ++i_;
    bool digits = false;
    while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) ++i_, digits = true;
    if (i_ < s_.size() && s_[i_] == '.') {
      ++i_;
      while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) ++i_, digits = true;
    }
    if (!digits) return false;
    if (i_ < s_.size() && (s_[i_] == 'e' || s_[i_] == 'E')) {
      size_t j = i_ + 1;
      if (j < s_.size() && (s_[j] == '-' || s_[j] == '+')) ++j;
      if (j < s_.size() && std::isdigit(static_cast<unsigned char>(s_[j]))) {
        i_ = j;
        while (i_ < s_.size() && std::isdigit(static_cast<unsigned char>(s_[i_]))) ++i_;
      }
    }
    v = std::strtod(s_.substr(from, i_ - from).c_str(), nullptr);
    return true;
  }
  // Arc flags may be written without any separator ("a5 5 0 015 5").
  bool Flag(bool& f) {
    SkipSpace();
    if (i_ >= s_.size() || (s_[i_] != '0' && s_[i_] != '1')) return false;
    f = s_[i_++] == '1';
    return true;
  }
  size_t Position() const { return i_; }

 private:
  const std::string& s_;
  size_t i_ = 0;
};

void AddCubic(Contour& c, Pt c1, Pt c2, Pt end) {
  c.cubics.push_back(c1);
  c.cubics.push_back(c2);
  c.cubics.push_back(end);
}

void AddLine(Contour& c, Pt from, Pt to) {
  AddCubic(c, {from.x + (to.x - from.x) / 3, from.y + (to.y - from.y) / 3},
           {from.x + 2 * (to.x - from.x) / 3, from.y + 2 * (to.y - from.y) / 3}, to);
}

void AddQuadratic(Contour& c, Pt from, Pt q, Pt to) {
  AddCubic(c, {from.x + 2.0 / 3 * (q.x - from.x), from.y + 2.0 / 3 * (q.y - from.y)},
           {to.x + 2.0 / 3 * (q.x - to.x), to.y + 2.0 / 3 * (q.y - to.y)}, to);
}

// Elliptical arc from the end-point form to cubic pieces of at most 90
// degrees each.
void AddArc(Contour& c, Pt p0, double rx, double ry, double phiDeg, bool large, bool sweep, Pt p1) {
  if (p0.x == p1.x && p0.y == p1.y) return;
  rx = std::fabs(rx);
  ry = std::fabs(ry);
  if (rx == 0 || ry == 0) {
    AddLine(c, p0, p1);
    return;
  }
  const double phi = phiDeg * std::numbers::pi / 180;
  const double cp = std::cos(phi), sp = std::sin(phi);
  const double dx = (p0.x - p1.x) / 2, dy = (p0.y - p1.y) / 2;
  const double x1 = cp * dx + sp * dy, y1 = -sp * dx + cp * dy;
  const double lambda = x1 * x1 / (rx * rx) + y1 * y1 / (ry * ry);
  if (lambda > 1) {
    rx *= std::sqrt(lambda);
    ry *= std::sqrt(lambda);
  }
  const double num = rx * rx * ry * ry - rx * rx * y1 * y1 - ry * ry * x1 * x1;
  const double den = rx * rx * y1 * y1 + ry * ry * x1 * x1;
  double k = den > 0 ? std::sqrt(std::max(0.0, num / den)) : 0;
  if (large == sweep) k = -k;
  const double cx1 = k * rx * y1 / ry, cy1 = -k * ry * x1 / rx;
  const double cx = cp * cx1 - sp * cy1 + (p0.x + p1.x) / 2;
  const double cy = sp * cx1 + cp * cy1 + (p0.y + p1.y) / 2;
  auto angle = [](double ux, double uy, double vx, double vy) {
    return std::atan2(ux * vy - uy * vx, ux * vx + uy * vy);
  };
  const double t1 = angle(1, 0, (x1 - cx1) / rx, (y1 - cy1) / ry);
  double dt = angle((x1 - cx1) / rx, (y1 - cy1) / ry, (-x1 - cx1) / rx, (-y1 - cy1) / ry);
  if (!sweep && dt > 0) dt -= 2 * std::numbers::pi;
  if (sweep && dt < 0) dt += 2 * std::numbers::pi;
  const int pieces = static_cast<int>(std::ceil(std::fabs(dt) / (std::numbers::pi / 2) - 1e-9));
  const double step = dt / std::max(pieces, 1);
  const double alpha = 4.0 / 3 * std::tan(step / 4);
  auto at = [&](double t) {
    return Pt{cx + rx * std::cos(t) * cp - ry * std::sin(t) * sp, cy + rx * std::cos(t) * sp + ry * std::sin(t) * cp};
  };
  auto deriv = [&](double t) {
    return Pt{-rx * std::sin(t) * cp - ry * std::cos(t) * sp, -rx * std::sin(t) * sp + ry * std::cos(t) * cp};
  };
  double t = t1;
  Pt from = p0;
  for (int i = 0; i < std::max(pieces, 1); ++i) {
    const double tn = t + step;
    const Pt d0 = deriv(t), d1 = deriv(tn);
    Pt to = i + 1 == std::max(pieces, 1) ? p1 : at(tn);
    AddCubic(c, {from.x + alpha * d0.x, from.y + alpha * d0.y}, {to.x - alpha * d1.x, to.y - alpha * d1.y}, to);
    from = to;
    t = tn;
  }
}

}  // namespace

bool ParsePathData(const std::string& d, std::vector<Contour>& out, std::string* error) {
  Tokens tk(d);
  Pt cur, start, lastCtrl;
  char last = 0;  // previous command, for the reflected control points of S and T
  Contour fig;
  bool open = false;
  auto finish = [&]() {
    if (open) {
      if (cur.x != start.x || cur.y != start.y) AddLine(fig, cur, start);
      if (!fig.cubics.empty()) out.push_back(fig);
    }
    open = false;
    fig = Contour();
  };
  auto fail = [&](const char* why) {
    if (error) *error = std::string(why) + " at " + std::to_string(tk.Position());
    return false;
  };
  char cmd = 0;
  while (!tk.AtEnd()) {
    if (tk.AtCommand()) cmd = tk.Command();
    else if (!cmd) return fail("path data without a command");
    const bool rel = std::islower(static_cast<unsigned char>(cmd));
    const char up = static_cast<char>(std::toupper(static_cast<unsigned char>(cmd)));
    const Pt base = rel ? cur : Pt{0, 0};
    auto point = [&](Pt& p) {
      double x, y;
      if (!tk.Number(x) || !tk.Number(y)) return false;
      p = {base.x + x, base.y + y};
      return true;
    };
    if (up == 'Z') {
      finish();
      cur = start;
      last = 'Z';
      cmd = 0;
      continue;
    }
    if (!open && up != 'M') {  // drawing straight on after a close starts at its start
      fig.start = cur;
      start = cur;
      open = true;
    }
    switch (up) {
      case 'M': {
        Pt p;
        if (!point(p)) return fail("bad moveto");
        finish();
        fig.start = p;
        start = cur = p;
        open = true;
        cmd = rel ? 'l' : 'L';  // further pairs are lines
        break;
      }
      case 'L': {
        Pt p;
        if (!point(p)) return fail("bad lineto");
        AddLine(fig, cur, p);
        cur = p;
        break;
      }
      case 'H': case 'V': {
        double v;
        if (!tk.Number(v)) return fail("bad h/v");
        Pt p = cur;
        if (up == 'H') p.x = rel ? cur.x + v : v;
        else p.y = rel ? cur.y + v : v;
        AddLine(fig, cur, p);
        cur = p;
        break;
      }
      case 'C': {
        Pt a, b, p;
        if (!point(a) || !point(b) || !point(p)) return fail("bad curveto");
        AddCubic(fig, a, b, p);
        lastCtrl = b;
        cur = p;
        break;
      }
      case 'S': {
        Pt b, p;
        if (!point(b) || !point(p)) return fail("bad smooth curveto");
        const bool follows = last == 'C' || last == 'S';
        const Pt a = follows ? Pt{2 * cur.x - lastCtrl.x, 2 * cur.y - lastCtrl.y} : cur;
        AddCubic(fig, a, b, p);
        lastCtrl = b;
        cur = p;
        break;
      }
      case 'Q': {
        Pt q, p;
        if (!point(q) || !point(p)) return fail("bad quadratic");
        AddQuadratic(fig, cur, q, p);
        lastCtrl = q;
        cur = p;
        break;
      }
      case 'T': {
        Pt p;
        if (!point(p)) return fail("bad smooth quadratic");
        const bool follows = last == 'Q' || last == 'T';
        const Pt q = follows ? Pt{2 * cur.x - lastCtrl.x, 2 * cur.y - lastCtrl.y} : cur;
        AddQuadratic(fig, cur, q, p);
        lastCtrl = q;
        cur = p;
        break;
      }
      case 'A': {
        double rx, ry, phi;
        bool large, sweep;
        Pt p;
        if (!tk.Number(rx) || !tk.Number(ry) || !tk.Number(phi) || !tk.Flag(large) || !tk.Flag(sweep) || !point(p))
          return fail("bad arc");
        AddArc(fig, cur, rx, ry, phi, large, sweep, p);
        cur = p;
        break;
      }
      default:
        return fail("unknown path command");
    }
    last = up;
  }
  finish();
  return true;
}

namespace {

std::string Attribute(const std::string& tag, const std::string& name) {
  size_t at = 0;
  while ((at = tag.find(name, at)) != std::string::npos) {
    const bool wordStart = at == 0 || std::isspace(static_cast<unsigned char>(tag[at - 1]));
    size_t eq = at + name.size();
    while (eq < tag.size() && std::isspace(static_cast<unsigned char>(tag[eq]))) ++eq;
    if (wordStart && eq < tag.size() && tag[eq] == '=') {
      size_t q = eq + 1;
      while (q < tag.size() && std::isspace(static_cast<unsigned char>(tag[q]))) ++q;
      if (q < tag.size() && (tag[q] == '"' || tag[q] == '\'')) {
        const size_t close = tag.find(tag[q], q + 1);
        if (close != std::string::npos) return tag.substr(q + 1, close - q - 1);
      }
    }
    at += name.size();
  }
  return {};
}

}  // namespace

bool ReadSvgOutline(const std::string& path, SvgOutline& out, std::string* error) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    if (error) *error = "cannot open " + path;
    return false;
  }
  std::stringstream ss;
  ss << in.rdbuf();
  const std::string text = ss.str();
  out = SvgOutline();
  size_t at = 0;
  while ((at = text.find('<', at)) != std::string::npos) {
    const size_t end = text.find('>', at);
    if (end == std::string::npos) break;
    const std::string tag = text.substr(at, end - at + 1);
    at = end;
    if (tag.rfind("<svg", 0) == 0) {
      std::istringstream vb(Attribute(tag, "viewBox"));
      vb >> out.viewX >> out.viewY >> out.viewW >> out.viewH;
    } else if (tag.rfind("<path", 0) == 0) {
      std::string why;
      if (!ParsePathData(Attribute(tag, "d"), out.contours, &why)) {
        if (error) *error = path + ": " + why;
        return false;
      }
    }
  }
  if (out.viewW <= 0 || out.viewH <= 0 || out.contours.empty()) {
    if (error) *error = path + ": no viewBox or no outline";
    return false;
  }
  return true;
}

double ContourArea(const Contour& c) {
  std::vector<Pt> poly{c.start};
  Pt from = c.start;
  for (size_t i = 0; i + 2 < c.cubics.size(); i += 3) {
    const Pt a = c.cubics[i], b = c.cubics[i + 1], e = c.cubics[i + 2];
    for (int k = 1; k <= 8; ++k) {
      const double t = k / 8.0, u = 1 - t;
      poly.push_back({u * u * u * from.x + 3 * u * u * t * a.x + 3 * u * t * t * b.x + t * t * t * e.x,
                      u * u * u * from.y + 3 * u * u * t * a.y + 3 * u * t * t * b.y + t * t * t * e.y});
    }
    from = e;
  }
  double area = 0;
  for (size_t i = 0; i < poly.size(); ++i) {
    const Pt p = poly[i], q = poly[(i + 1) % poly.size()];
    area += p.x * q.y - q.x * p.y;
  }
  return area / 2;
}

}  // namespace varlo_shapes
