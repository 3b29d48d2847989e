#include "support/BrushCheck.h"

#include <algorithm>
#include <charconv>
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
      // One plane: normals within about 1e-5 of each other (as map compilers
      // compare them) at the same distance.
      if (Dot(planes[i].n, planes[j].n) > 1.0 - 5e-11 && std::fabs(planes[i].d - planes[j].d) < tol)
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
  double surface = 0.0;
  // Each face is a square on its plane, larger than the brush, clipped by the
  // other planes; what is left far out belongs to no closed brush. The
  // clipping takes points within a tiny part of the square's size as lying on
  // a plane: planes that meet at a grazing angle (long thin cells) still cut
  // a small face apart.
  const double square = extent * 8.0 + 16.0;
  for (size_t i = 0; i < planes.size(); ++i) {
    Winding w = BaseWinding(planes[i], square);
    for (size_t j = 0; j < planes.size() && !w.empty(); ++j)
      if (j != i) w = Clip(w, planes[j], 1e-13 * square);
    const double area = w.size() >= 3 ? Area(w, planes[i].n) : 0.0;
    if (area <= 1e-14 * extent * extent) return Describe(index, static_cast<int>(i), "does not bound the brush");
    for (const Vec3& q : w)
      if (std::max({std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)}) > extent * 4.0 + 8.0)
        return Describe(index, static_cast<int>(i), "the brush is not closed");
    volume += area * planes[i].d / 3.0;
    surface += area;
  }
  // The volume against the rounding of a sum of terms of the size of the
  // surface times the extent: a long thin brush has a small volume against
  // its extent cubed, a flat one none at all.
  if (!(volume > 1e-9 * surface * extent)) return Describe(index, -1, "no volume");
  return std::string();
}

// The lines of a text, without their line ends.
std::vector<std::string_view> Lines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

// The words of a line, split at blanks.
void Words(std::string_view line, std::vector<std::string_view>& words) {
  words.clear();
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && line[i] == ' ') ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
}

// A word that is a whole finite number.
bool ParseNumber(std::string_view word, double& value) {
  const char* end = word.data() + word.size();
  const std::from_chars_result r = std::from_chars(word.data(), end, value);
  return !word.empty() && r.ec == std::errc() && r.ptr == end && std::isfinite(value);
}

// What a check looks at: the numbers and the texture projection of every face
// only, or the brushes too.
enum class Depth { Numbers, Brushes };

// Parses one face line into its plane; returns an error text or "".
// t is room for the words of the line.
std::string ParseFace(std::string_view line, std::vector<std::string_view>& t, Plane& plane, Depth depth) {
  Words(line, t);
  // ( x y z ) x3, texture, [ a b c d ] x2, rot sx sy
  if (t.size() != 31) return "malformed face line: " + std::string(line);
  const int numeric[] = {1, 2, 3, 6, 7, 8, 11, 12, 13, 17, 18, 19, 20, 23, 24, 25, 26, 28, 29, 30};
  double v[31] = {};
  for (int k : numeric) {
    const std::string_view word = t[static_cast<size_t>(k)];
    if (!ParseNumber(word, v[k])) return "number not finite or malformed: " + std::string(word);
  }
  if (t[0] != "(" || t[4] != ")" || t[16] != "[" || t[21] != "]" || t[22] != "[" || t[27] != "]")
    return "malformed face line: " + std::string(line);
  // A texture axis or scale of 0 (as written, with six decimals) leaves the
  // face without a texture projection: map compilers divide by them.
  const Vec3 axisU{v[17], v[18], v[19]};
  const Vec3 axisV{v[23], v[24], v[25]};
  if (Len(axisU) == 0.0 || Len(axisV) == 0.0) return "zero texture axis: " + std::string(line);
  if (v[29] == 0.0 || v[30] == 0.0) return "texture scale 0: " + std::string(line);
  if (depth == Depth::Numbers) return std::string();
  for (int p = 0; p < 3; ++p) plane.points[p] = Vec3{v[1 + 5 * p], v[2 + 5 * p], v[3 + 5 * p]};
  const Vec3 n = Cross(plane.points[0] - plane.points[1], plane.points[2] - plane.points[1]);
  const double len = Len(n);
  if (!(len > 0.0)) return "plane without normal: " + std::string(line);
  plane.n = n * (1.0 / len);
  plane.d = Dot(plane.n, plane.points[1]);
  const double edges = Len(plane.points[0] - plane.points[1]) + Len(plane.points[2] - plane.points[1]);
  plane.tilt = 4.0 * kPrintError * edges / len;
  return std::string();
}

MapCheck Check(const std::string& text, Depth depth) {
  MapCheck result;
  const std::vector<std::string_view> lines = Lines(text);
  std::vector<std::string_view> words;
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
      result.error = "key line not finite: " + std::string(lines[i]);
      return result;
    }
    ++i;
  }
  for (; i < lines.size(); ++i) {
    if (lines[i] == "}") break;  // the end of the entity
    if (lines[i] != "{") {
      result.error = "expected a brush: " + std::string(lines[i]);
      return result;
    }
    std::vector<Plane> planes;
    for (++i; i < lines.size() && lines[i] != "}"; ++i) {
      Plane p;
      const std::string error = ParseFace(lines[i], words, p, depth);
      if (!error.empty()) {
        result.error = Describe(result.brushes, static_cast<int>(planes.size()), error);
        return result;
      }
      planes.push_back(p);
    }
    if (depth != Depth::Numbers) {
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
MapCheck CheckGroup(Depth depth) {
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
  return Check(dir.Read("check.map"), depth);
}

}  // namespace

MapCheck CheckMapText(const std::string& text) { return Check(text, Depth::Brushes); }

MapCheck CheckMapNumbers(const std::string& text) { return Check(text, Depth::Numbers); }

MapCheck CheckGroupAsMap() { return CheckGroup(Depth::Brushes); }

MapCheck CheckGroupNumbers() { return CheckGroup(Depth::Numbers); }

namespace {

// Whether the points, as written, lie on one line or in one point: a mesh
// importer that reads them makes a line or a point of the face. The
// tolerance only covers reading the decimals into doubles.
bool OnOneLine(const std::vector<Vec3>& points) {
  double size = 1.0;
  for (const Vec3& q : points) size = std::max({size, std::fabs(q.x), std::fabs(q.y), std::fabs(q.z)});
  const double tol = 1e-12 * size;
  const Vec3& a = points[0];
  size_t j = 1;
  while (j < points.size() && Len(points[j] - a) <= tol) ++j;
  if (j == points.size()) return true;
  const Vec3 u = (points[j] - a) * (1.0 / Len(points[j] - a));
  for (size_t k = j + 1; k < points.size(); ++k)
    if (Len(Cross(points[k] - a, u)) > tol) return false;
  return true;
}

// Whether a point is listed twice, next to each other or apart: a mesh
// importer takes the coordinates as numbers, so points written alike (or as
// "-0" and "0") are one point, and a polygon through it twice triangulates
// into triangles without area.
bool RepeatsAPoint(const std::vector<Vec3>& points) {
  for (size_t i = 0; i < points.size(); ++i)
    for (size_t j = i + 1; j < points.size(); ++j)
      if (points[i].x == points[j].x && points[i].y == points[j].y && points[i].z == points[j].z) return true;
  return false;
}

}  // namespace

ObjCheck CheckObjText(const std::string& text) {
  ObjCheck result;
  std::vector<Vec3> vertices;  // written since the last face record
  std::vector<std::string_view> words;
  int lineNo = 0;
  for (const std::string_view line : Lines(text)) {
    ++lineNo;
    auto fail = [&](const std::string& what) {
      result.error = "line " + std::to_string(lineNo) + ": " + what + ": " + std::string(line);
      return result;
    };
    Words(line, words);
    if (words.empty()) continue;
    if (words[0] == "g") {
      ++result.groups;
    } else if (words[0] == "v") {
      double c[3];
      if (words.size() != 4) return fail("malformed vertex");
      for (int k = 0; k < 3; ++k)
        if (!ParseNumber(words[static_cast<size_t>(k) + 1], c[k])) return fail("vertex not finite or malformed");
      vertices.push_back(Vec3{c[0], c[1], c[2]});
    } else if (words[0] == "f") {
      const size_t n = words.size() - 1;
      for (size_t k = 1; k <= n; ++k)
        if (words[k] != "-" + std::to_string(k)) return fail("face indices other than -1 -2 ... -n");
      if (n < 3) return fail("face with fewer than three vertices");
      if (n > vertices.size()) return fail("face refers to vertices it did not write");
      const std::vector<Vec3> own(vertices.end() - static_cast<long>(n), vertices.end());
      if (RepeatsAPoint(own)) return fail("face lists a corner twice");
      if (OnOneLine(own)) return fail("face without area");
      vertices.clear();
      ++result.faces;
    } else {
      return fail("unexpected record");
    }
  }
  result.ok = true;
  return result;
}
