#include "support/BrushCheck.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "export/MapWriter.h"
#include "settings/Settings.h"
#include "support/Process.h"

namespace {

struct Vec3 {
  double x = 0, y = 0, z = 0;
};
Vec3 operator-(const Vec3& a, const Vec3& b) { return {a.x - b.x, a.y - b.y, a.z - b.z}; }
Vec3 operator+(const Vec3& a, const Vec3& b) { return {a.x + b.x, a.y + b.y, a.z + b.z}; }
Vec3 operator*(const Vec3& a, double s) { return {a.x * s, a.y * s, a.z * s}; }
double Dot(const Vec3& a, const Vec3& b) { return a.x * b.x + a.y * b.y + a.z * b.z; }
Vec3 Cross(const Vec3& a, const Vec3& b) {
  return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
double Len(const Vec3& a) { return std::sqrt(Dot(a, a)); }

struct Plane {
  Vec3 n;  // unit normal, pointing out of the brush
  double d = 0;
  Vec3 points[3];
  // How far the plane may tilt per unit of distance from points[1] because
  // the written points carry only six decimals: three points close together
  // give a plane that the file cannot hold more exactly.
  double tilt = 0;
};

// The rounding of a coordinate written with six decimals, with a margin.
constexpr double kPrintError = 1e-6;

using Winding = std::vector<Vec3>;

// Keeps the part of the winding on or behind the plane.
Winding Clip(const Winding& w, const Plane& p, double eps) {
  Winding out;
  const size_t n = w.size();
  for (size_t i = 0; i < n; ++i) {
    const Vec3& a = w[i];
    const Vec3& b = w[(i + 1) % n];
    const double da = Dot(p.n, a) - p.d;
    const double db = Dot(p.n, b) - p.d;
    if (da <= eps) out.push_back(a);
    if ((da < -eps && db > eps) || (da > eps && db < -eps)) out.push_back(a + (b - a) * (da / (da - db)));
  }
  return out;
}

// A large square on the plane.
Winding BaseWinding(const Plane& p, double size) {
  const Vec3 helper = std::fabs(p.n.z) < 0.9 ? Vec3{0, 0, 1} : Vec3{1, 0, 0};
  Vec3 u = Cross(helper, p.n);
  u = u * (1.0 / Len(u));
  const Vec3 v = Cross(p.n, u);
  const Vec3 c = p.n * p.d;
  return {c + u * size + v * size, c - u * size + v * size, c - u * size - v * size, c + u * size - v * size};
}

double Area(const Winding& w, const Vec3& n) {
  Vec3 sum;
  for (size_t i = 0; i < w.size(); ++i) sum = sum + Cross(w[i], w[(i + 1) % w.size()]);
  return std::fabs(Dot(sum, n)) * 0.5;
}

std::string Describe(int brush, int face, const std::string& what) {
  std::ostringstream s;
  s << "brush " << brush << " face " << face << ": " << what;
  return s.str();
}

// Checks one brush given by its face planes.
std::string CheckBrush(const std::vector<Plane>& planes, int index) {
  if (planes.size() < 4) return Describe(index, -1, "fewer than four faces");
  double extent = 1.0;
  for (const Plane& p : planes)
    for (const Vec3& q : p.points) extent = std::max({extent, std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)});
  const double tol = 1e-3 + 2e-6 * extent;
  for (size_t i = 0; i < planes.size(); ++i) {
    for (size_t j = 0; j < planes.size(); ++j) {
      if (i == j) continue;
      if (Dot(planes[i].n, planes[j].n) > 1.0 - 1e-9 && std::fabs(planes[i].d - planes[j].d) < tol)
        return Describe(index, static_cast<int>(i), "plane given twice");
      for (const Vec3& q : planes[i].points) {
        const double dist = Dot(planes[j].n, q) - planes[j].d;
        const double allowed = tol + planes[j].tilt * Len(q - planes[j].points[1]) + 2.0 * kPrintError;
        if (dist > allowed) {
          std::ostringstream s;
          s << "a point lies " << dist << " in front of face " << j << " (plane faces inward?)";
          return Describe(index, static_cast<int>(i), s.str());
        }
      }
    }
  }
  double volume = 0.0;
  for (size_t i = 0; i < planes.size(); ++i) {
    Winding w = BaseWinding(planes[i], extent * 8.0 + 1024.0);
    for (size_t j = 0; j < planes.size() && !w.empty(); ++j)
      if (j != i) w = Clip(w, planes[j], 1e-9 * extent);
    const double area = w.size() >= 3 ? Area(w, planes[i].n) : 0.0;
    if (area <= 1e-12 * extent * extent) return Describe(index, static_cast<int>(i), "does not bound the brush");
    for (const Vec3& q : w)
      if (std::max({std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)}) > extent * 4.0 + 512.0)
        return Describe(index, static_cast<int>(i), "the brush is not closed");
    volume += area * planes[i].d / 3.0;
  }
  if (!(volume > 1e-9 * extent * extent * extent)) return Describe(index, -1, "no volume");
  return std::string();
}

bool ParseNumber(const std::string& token, double& value) {
  char* end = nullptr;
  value = std::strtod(token.c_str(), &end);
  return end && *end == '\0' && !token.empty() && std::isfinite(value);
}

// Parses one face line into its plane; returns an error text or "".
std::string ParseFace(const std::string& line, Plane& plane, bool numbersOnly) {
  std::istringstream s(line);
  std::vector<std::string> t;
  std::string tok;
  while (s >> tok) t.push_back(tok);
  // ( x y z ) x3, texture, [ a b c d ] x2, rot sx sy
  if (t.size() != 31) return "malformed face line: " + line;
  const int numeric[] = {1, 2, 3, 6, 7, 8, 11, 12, 13, 17, 18, 19, 20, 23, 24, 25, 26, 28, 29, 30};
  double v[31] = {};
  for (int k : numeric)
    if (!ParseNumber(t[static_cast<size_t>(k)], v[k])) return "number not finite or malformed: " + t[static_cast<size_t>(k)];
  if (t[0] != "(" || t[4] != ")" || t[16] != "[" || t[21] != "]" || t[22] != "[" || t[27] != "]")
    return "malformed face line: " + line;
  if (numbersOnly) return std::string();
  for (int p = 0; p < 3; ++p) plane.points[p] = Vec3{v[1 + 5 * p], v[2 + 5 * p], v[3 + 5 * p]};
  const Vec3 n = Cross(plane.points[0] - plane.points[1], plane.points[2] - plane.points[1]);
  const double len = Len(n);
  if (!(len > 0.0)) return "plane without normal: " + line;
  plane.n = n * (1.0 / len);
  plane.d = Dot(plane.n, plane.points[1]);
  const double edges = Len(plane.points[0] - plane.points[1]) + Len(plane.points[2] - plane.points[1]);
  plane.tilt = 4.0 * kPrintError * edges / len;
  const Vec3 axisU{v[17], v[18], v[19]};
  const Vec3 axisV{v[23], v[24], v[25]};
  if (Len(axisU) == 0.0 || Len(axisV) == 0.0) return "zero texture axis: " + line;
  return std::string();
}

MapCheck Check(const std::string& text, bool numbersOnly) {
  MapCheck result;
  std::istringstream in(text);
  std::string line;
  std::vector<std::string> lines;
  while (std::getline(in, line)) lines.push_back(line);
  if (text.size() < 3 || text.compare(text.size() - 3, 3, "}\n\n") != 0) {
    result.error = "the file does not end with \"}\" and an empty line";
    return result;
  }
  if (lines.empty() || lines[0] != "{") {
    result.error = "the file does not begin with \"{\"";
    return result;
  }
  size_t i = 1;
  while (i < lines.size() && !lines[i].empty() && lines[i][0] == '"') {
    if (lines[i].find("nan") != std::string::npos || lines[i].find("inf") != std::string::npos) {
      result.error = "key line not finite: " + lines[i];
      return result;
    }
    ++i;
  }
  for (; i < lines.size(); ++i) {
    if (lines[i] == "}") break;  // the end of the entity
    if (lines[i] != "{") {
      result.error = "expected a brush: " + lines[i];
      return result;
    }
    std::vector<Plane> planes;
    for (++i; i < lines.size() && lines[i] != "}"; ++i) {
      Plane p;
      const std::string error = ParseFace(lines[i], p, numbersOnly);
      if (!error.empty()) {
        result.error = Describe(result.brushes, static_cast<int>(planes.size()), error);
        return result;
      }
      planes.push_back(p);
    }
    if (!numbersOnly) {
      const std::string error = CheckBrush(planes, result.brushes);
      if (!error.empty()) {
        result.error = error;
        return result;
      }
    }
    ++result.brushes;
  }
  result.ok = true;
  return result;
}

// Writes Group into a temporary directory and checks the file.
MapCheck CheckGroup(bool numbersOnly) {
  TempDir dir;
  const std::string savedName = cfname, savedPath = cfpath;
  cfname = "check";
  cfpath = dir.path() + "/";
  const bool written = ExportToMap();
  cfname = savedName;
  cfpath = savedPath;
  if (!written) {
    MapCheck result;
    result.error = "the map file could not be written";
    return result;
  }
  return Check(dir.Read("check.map"), numbersOnly);
}

}  // namespace

MapCheck CheckMapText(const std::string& text) { return Check(text, false); }

MapCheck CheckMapNumbers(const std::string& text) { return Check(text, true); }

MapCheck CheckGroupAsMap() { return CheckGroup(false); }

MapCheck CheckGroupNumbers() { return CheckGroup(true); }
