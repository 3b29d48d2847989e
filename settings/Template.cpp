// Files of 2 GiB and more are opened and looked at in the 32-bit build too.
#define _FILE_OFFSET_BITS 64

#include "settings/Template.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>
#include <stdexcept>

#include "settings/Message.h"
#include "settings/Names.h"
#include "settings/Settings.h"
#include "settings/Shape.h"

const std::string slist[maxset] = {
    "filename",     "filepath",     "exmap",        "exobj",        "nomenu",
    "autoscale",    "shape",        "res",          "res2",         "rad",
    "rad2",         "rad3",         "sym",          "tri",          "rule1",
    "rule2",        "percent",      "nth",          "start1",       "end1",
    "start2",       "end2",         "1_tex",        "2_tex",        "3_tex",
    "n_tex",
    "1_sizex",      "1_sizey",      "1_shiftx",     "1_shifty",     "1_scalex",
    "1_scaley",     "1_rot",        "1_facealign",  "1_shear",      "1_v_wrap",
    "1_v_seamless", "1_v_wrapam",   "1_h_wrap",     "1_h_seamless", "1_h_wrapam",
    "1_scalesrc",   "1_h_rangesrc", "1_h_range",
    "2_sizex",      "2_sizey",      "2_shiftx",     "2_shifty",     "2_scalex",
    "2_scaley",     "2_rot",        "2_facealign",  "2_shear",      "2_v_wrap",
    "2_v_seamless", "2_v_wrapam",   "2_h_wrap",     "2_h_seamless", "2_h_wrapam",
    "2_scalesrc",   "2_h_rangesrc", "2_h_range",
    // The floor slot's shift-X key has always been spelled "3_hiftx".
    "3_sizex",      "3_sizey",      "3_hiftx",      "3_shifty",     "3_scalex",
    "3_scaley",     "3_rot",        "3_facealign",  "3_shear",      "3_v_wrap",
    "3_v_seamless", "3_v_wrapam",   "3_h_wrap",     "3_h_seamless", "3_h_wrapam",
    "3_scalesrc",   "3_h_rangesrc", "3_h_range",
};
std::string tset[maxset];

namespace {

// Indices into slist and tset.
enum {
  KeyFilename = 0,
  KeyFilepath = 1,
  KeyExmap = 2,
  KeyExobj = 3,
  KeyNomenu = 4,
  KeyAutoscale = 5,
  KeyShape = 6,
  KeyRes = 7,
  KeyRes2 = 8,
  KeyRad = 9,
  KeyRad2 = 10,
  KeyRad3 = 11,
  KeySym = 12,
  KeyTri = 13,
  KeyRule1 = 14,
  KeyRule2 = 15,
  KeyPercent = 16,
  KeyNth = 17,
  KeyStart1 = 18,
  KeyEnd1 = 19,
  KeyStart2 = 20,
  KeyEnd2 = 21,
  KeyTex1 = 22,
  KeyTex2 = 23,
  KeyTex3 = 24,
  KeyTexn = 25,
  KeySlotBase = 26,
  KeysPerSlot = 18,
};

// Suffix numbers of the per-slot keys.
enum {
  SufSizeX = 0,
  SufSizeY = 1,
  SufShiftX = 2,
  SufShiftY = 3,
  SufScaleX = 4,
  SufScaleY = 5,
  SufRot = 6,
  SufFacealign = 7,
  SufShear = 8,
  SufVWrap = 9,
  SufVSeamless = 10,
  SufVWrapam = 11,
  SufHWrap = 12,
  SufHSeamless = 13,
  SufHWrapam = 14,
  SufScalesrc = 15,
  SufHRangesrc = 16,
  SufHRange = 17,
};

// ---- Reading the file -----------------------------------------------------

// Template files are small. A regular file that goes on beyond this is read
// no further, as if it ended there.
constexpr std::size_t kMaxTemplateBytes = std::size_t{16} << 20;

// An open file descriptor, closed when it goes.
struct ReadHandle {
  int fd = -1;
  ReadHandle() = default;
  ReadHandle(const ReadHandle&) = delete;
  ReadHandle& operator=(const ReadHandle&) = delete;
  ~ReadHandle() {
    if (fd >= 0) close(fd);
  }
};

bool IsRegularFile(const struct stat& st) { return S_ISREG(st.st_mode); }

// Opens the file for reading when it is a regular file. Anything else (a
// directory, a FIFO, a socket, a device) is refused as a file that cannot be
// opened: a FIFO would block the program until a writer comes, a device may
// never end. The type is looked at before opening, so that no device is
// opened at all, and again on the open file, which the open does not wait
// for (O_NONBLOCK), in case the path was replaced in between.
bool OpenRegularFile(const std::string& name, ReadHandle& in) {
  if (!IsFileNameValid(name)) return false;
  struct stat st;
  if (stat(name.c_str(), &st) != 0 || !IsRegularFile(st)) return false;
  in.fd = open(name.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
  return in.fd >= 0 && fstat(in.fd, &st) == 0 && IsRegularFile(st);
}

// Up to kMaxTemplateBytes of the file. A read that fails ends the reading
// with what was read so far.
std::string ReadRaw(int fd) {
  std::string raw;
  char buffer[1 << 16];
  while (raw.size() < kMaxTemplateBytes) {
    const std::size_t want = std::min(sizeof buffer, kMaxTemplateBytes - raw.size());
    const ssize_t n = read(fd, buffer, want);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    raw.append(buffer, static_cast<std::size_t>(n));
  }
  return raw;
}

// Joins the lines of the file, each followed by one line feed. A line ends
// at a line feed; a carriage return right before it belongs to the line end,
// any other carriage return is an ordinary character. A read that runs out
// of memory ends the reading with the lines read so far.
std::string ReadJoinedLines(int fd) {
  std::string text;
  try {
    const std::string raw = ReadRaw(fd);
    text.reserve(raw.size() + 1);
    std::size_t start = 0;
    while (start < raw.size()) {
      const std::size_t end = raw.find('\n', start);
      if (end == std::string::npos) {
        text.append(raw, start, std::string::npos);
        text += '\n';
        break;
      }
      std::size_t length = end - start;
      if (length > 0 && raw[end - 1] == '\r') --length;
      text.append(raw, start, length);
      text += '\n';
      start = end + 1;
    }
  } catch (const std::bad_alloc&) {
  } catch (const std::length_error&) {
  }
  return text;
}

bool IsSeparator(char c) { return c == '\r' || c == ' ' || c == '\n' || c == '\t'; }
bool IsBlankOrTab(char c) { return c == ' ' || c == '\t'; }
bool EndsValue(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '/'; }

// The value of the first accepted occurrence of key in text: one that is not
// preceded by "/" and is followed by a blank, tab or line end. The value is
// the word after it on the same line; empty when the key is not found or is
// followed by nothing but blanks up to the line end.
std::string FindValue(const std::string& text, const std::string& key) {
  std::size_t pos = 0;
  for (;;) {
    const std::size_t at = text.find(key, pos);
    if (at == std::string::npos) return std::string();
    const std::size_t end = at + key.size();
    pos = end;
    if (at > 0 && text[at - 1] == '/') continue;
    if (end >= text.size() || !IsSeparator(text[end])) continue;
    std::size_t first = end;
    while (first < text.size() && IsBlankOrTab(text[first])) ++first;
    std::size_t last = first;
    while (last < text.size() && !EndsValue(text[last])) ++last;
    return text.substr(first, last - first);
  }
}

// ---- Converting values ----------------------------------------------------

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// True when the word begins with a number: an optional sign, then a digit
// (or, when a point may lead, a point and a digit).
bool BeginsWithNumber(const std::string& word, bool pointMayLead) {
  std::size_t i = 0;
  if (i < word.size() && (word[i] == '+' || word[i] == '-')) ++i;
  if (i < word.size() && IsDigit(word[i])) return true;
  return pointMayLead && i + 1 < word.size() && word[i] == '.' && IsDigit(word[i + 1]);
}

// The leading integer of the word; false when the word does not begin with
// one or its number does not fit an int.
bool ParseInt(const std::string& word, int& out) {
  if (!BeginsWithNumber(word, false)) return false;
  errno = 0;
  const long long value = std::strtoll(word.c_str(), nullptr, 10);
  if (errno == ERANGE) return false;
  if (value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
    return false;
  out = static_cast<int>(value);
  return true;
}

// The leading floating-point number of the word; false when the word does not
// begin with one or its number is not a finite float.
bool ParseFloat(const std::string& word, float& out) {
  if (!BeginsWithNumber(word, true)) return false;
  const double value = std::strtod(word.c_str(), nullptr);
  if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max()) return false;
  out = static_cast<float>(value);
  return true;
}

void TakeText(int key, std::string& setting) {
  if (!tset[key].empty()) setting = tset[key];
}

// A flag is switched on only by the exact value "1".
void TakeFlag(int key, bool& setting) {
  if (tset[key] == "1") setting = true;
}

void TakeInt(int key, int& setting) {
  int value = 0;
  if (ParseInt(tset[key], value)) setting = value;
}

void TakeFloat(int key, float& setting) {
  float value = 0.0f;
  if (ParseFloat(tset[key], value)) setting = value;
}

// A texture scale of 0 (also one too small for a float) would make the
// texture infinitely small; it is ignored like a value that cannot be read.
void TakeScale(int key, float& setting) {
  float value = 0.0f;
  if (ParseFloat(tset[key], value) && value != 0.0f) setting = value;
}

// Radii are given as whole numbers.
void TakeRadius(int key, float& setting) {
  int value = 0;
  if (ParseInt(tset[key], value)) setting = static_cast<float>(value);
}

void TakeResolution(int key, int& setting) {
  int value = 0;
  if (ParseInt(tset[key], value) && IsResValid(value)) setting = value;
}

void TakeRotation(int key, float& setting) {
  const std::string& word = tset[key];
  if (word == "0") setting = 0.0f;
  else if (word == "90") setting = 90.0f;
  else if (word == "180") setting = 180.0f;
  else if (word == "270") setting = 270.0f;
}

// The template gives the H-range face 1-based; it is stored 0-based and kept
// within the faces of the current resolution.
void TakeHRange(int key, int& setting) {
  int value = 0;
  if (!ParseInt(tset[key], value)) return;
  const long long face = static_cast<long long>(value) - 1;
  if (face < 0) setting = 0;
  else if (face >= res) setting = res - 1;
  else setting = static_cast<int>(face);
}

shape ShapeNamed(const std::string& word) {
  if (word == "arch") return arch;
  if (word == "torus") return torus;
  if (word == "htorus") return htorus;
  if (word == "sphere") return sphere;
  return cylinder;
}

void TakeSlot(int s) {
  const int base = KeySlotBase + KeysPerSlot * s;
  TakeInt(base + SufSizeX, G_SizeX[s]);
  TakeInt(base + SufSizeY, G_SizeY[s]);
  TakeFloat(base + SufShiftX, G_ShiftX[s]);
  TakeFloat(base + SufShiftY, G_ShiftY[s]);
  TakeScale(base + SufScaleX, G_ScaleX[s]);
  TakeScale(base + SufScaleY, G_ScaleY[s]);
  TakeRotation(base + SufRot, G_Rot[s]);
  TakeFlag(base + SufFacealign, facealign[s]);
  TakeFlag(base + SufShear, Shear[s]);
  TakeFlag(base + SufVWrap, wrapping[s]);
  TakeFlag(base + SufVSeamless, seamless[s]);
  TakeInt(base + SufVWrapam, wrapam[s]);
  TakeFlag(base + SufHWrap, Hwrapping[s]);
  TakeFlag(base + SufHSeamless, Hseamless[s]);
  TakeInt(base + SufHWrapam, Hwrapam[s]);
  TakeInt(base + SufScalesrc, SYMethod[s]);
  if (s < BodySlotCount) {
    TakeInt(base + SufHRangesrc, G_HFMethod[s]);
    TakeHRange(base + SufHRange, G_HFace[s]);
  }
}

// Names the program does not take count as not given: they are removed from
// tset before anything applies them, the shape selection's texture names
// included, and the callers then name the object after the template file.
void DropRefusedNames() {
  for (const int key : {KeyFilename, KeyFilepath})
    if (!IsFileNameValid(tset[key])) tset[key].clear();
  for (const int key : {KeyTex1, KeyTex2, KeyTex3, KeyTexn})
    if (!tset[key].empty() && !IsTextureNameValid(tset[key])) tset[key].clear();
}

}  // namespace

bool LoadTemplate(const std::string& name) {
  const bool loadMark = TempLoaded;
  ReSettings();
  TempLoaded = loadMark;
  for (auto& value : tset) value.clear();

  std::string text;
  {
    ReadHandle in;
    if (!OpenRegularFile(name, in)) {
      cfname = GetFileName(name);
      SetMessage(MsgTemplateMissing);
      return false;
    }
    text = ReadJoinedLines(in.fd);
  }

  for (int j = 0; j < maxset; ++j) tset[j] = FindValue(text, slist[j]);
  LoadSettings();
  return true;
}

void LoadSettings() {
  DropRefusedNames();
  firstrun = true;

  TakeText(KeyFilename, cfname);
  TakeText(KeyFilepath, cfpath);
  TakeFlag(KeyExmap, exmap);
  TakeFlag(KeyExobj, exobj);
  TakeFlag(KeyNomenu, nomenu);
  TakeFlag(KeyAutoscale, autoscale);

  SetShape(ShapeNamed(tset[KeyShape]));

  TakeResolution(KeyRes, res);
  TakeResolution(KeyRes2, res2);
  TakeRadius(KeyRad, rad);
  TakeRadius(KeyRad2, rad2);
  TakeRadius(KeyRad3, rad3);
  TakeFlag(KeySym, Sym);
  TakeFlag(KeyTri, Tri);
  TakeInt(KeyRule1, D_method);
  TakeInt(KeyRule2, D_method2);
  TakeFlag(KeyPercent, D_percent);
  TakeInt(KeyNth, D_nth);
  TakeInt(KeyStart1, D_start);
  TakeInt(KeyEnd1, D_end);
  TakeInt(KeyStart2, D_start2);
  TakeInt(KeyEnd2, D_end2);

  TakeText(KeyTex1, tex1);
  TakeText(KeyTex2, tex2);
  TakeText(KeyTex3, tex3);
  TakeText(KeyTexn, texn);

  for (int s = 0; s < SlotCount; ++s) TakeSlot(s);
}

// The extension is looked for only in the last component of the path, so
// that a dot in a directory ("./cyl", "maps.v2/arch") stays. The slash ends a
// component here, although only the backslash cuts the directory off.
std::string GetFileName(const std::string& path) {
  std::string name = path;
  const std::size_t slash = name.find_last_of('\\');
  if (slash != std::string::npos) name.erase(0, slash + 1);
  const std::size_t dot = name.find_last_of('.');
  const std::size_t component = name.find_last_of('/');
  if (dot != std::string::npos && (component == std::string::npos || dot > component)) name.erase(dot);
  return name;
}

std::string GetFilePath(const std::string& path) {
  const std::size_t slash = path.find_last_of('\\');
  if (slash == std::string::npos) return std::string();
  return path.substr(0, slash + 1);
}
