// The layer's state, the test seams and the data-file search: the same for
// every backend.
#include <cstdlib>
#include <cstring>

#include "ui/backend.h"

#ifndef KESTOR_DATADIR
#define KESTOR_DATADIR "/usr/local/share/kestor"
#endif

namespace ui {

Rgb QBColor(int index) {
  static const Rgb kPalette[16] = {
      RGB(0, 0, 0),       RGB(0, 0, 128),   RGB(0, 128, 0),   RGB(0, 128, 128),
      RGB(128, 0, 0),     RGB(128, 0, 128), RGB(128, 128, 0), RGB(192, 192, 192),
      RGB(128, 128, 128), RGB(0, 0, 255),   RGB(0, 255, 0),   RGB(0, 255, 255),
      RGB(255, 0, 0),     RGB(255, 0, 255), RGB(255, 255, 0), RGB(255, 255, 255)};
  return kPalette[index & 15];
}

bool PngSize(const unsigned char* head, size_t length, int& width, int& height) {
  width = height = 0;
  // The signature, then the header chunk's length (13) and type.
  static const char kSignature[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR";
  if (length < 24 || std::memcmp(head, kSignature, 16) != 0) return false;
  const auto be32 = [&](size_t at) {
    long v = 0;
    for (size_t i = 0; i < 4; ++i) v = v * 256 + head[at + i];
    return v;
  };
  const long w = be32(16), h = be32(20);
  if (w <= 0 || h <= 0 || w > 0x7fffffff || h > 0x7fffffff) return false;
  width = static_cast<int>(w);
  height = static_cast<int>(h);
  return true;
}

State& S() {
  static State state;
  return state;
}

std::vector<std::string> DataFileCandidates() {
  State& st = S();
  std::vector<std::string> c;
  if (!st.data_files.empty()) {
    c = st.data_files;
  } else {
    const std::string name = "KESTOR_11.KSQ";
    std::string exe_dir = ProgramDir();
    std::string home = HomeDir();
    const char* xdg = std::getenv("XDG_DATA_HOME");
    std::string user_data = (xdg && *xdg) ? std::string(xdg) : home + "/.local/share";
    c = {name,
         exe_dir + "/" + name,
         exe_dir + "/../share/kestor/" + name,
         std::string(KESTOR_DATADIR) + "/" + name,
         user_data + "/kestor/" + name,
         home + "/" + name,
         "/usr/local/share/kestor/" + name,
         "/usr/share/kestor/" + name,
         "/opt/kestor/" + name,
         "/media/cdrom/" + name,
         "/mnt/" + name};
  }
  c.resize(11);
  return c;
}

namespace seams {
void SetScreenTwips(float width, float height) {
  S().seam_w = width;
  S().seam_h = height;
}
void SetClock(std::function<float()> clock) {
  S().clock = std::move(clock);
}
void SetDataFileCandidates(std::vector<std::string> paths) {
  S().data_files = std::move(paths);
}
void SetYieldHook(Handler hook) {
  S().yield_hook = std::move(hook);
}
void Reset() {
  State& st = S();
  st.seam_w = st.seam_h = 0;
  st.clock = nullptr;
  st.data_files.clear();
  st.yield_hook = nullptr;
  st.ended = false;
  st.end_reason.clear();
  st.handler_depth = 0;
}
}  // namespace seams

}  // namespace ui
