// What the program hands over to the rest of the browser: a text on the
// clipboard, a file as a download (both made by ui/web/stage.js).
#include <emscripten.h>

#include "internal.h"

namespace ui {

void SetClipboard(const std::string& text) {
  EM_ASM({ Module.stage.copy(UTF8ToString($0)); }, text.c_str());
}

void SaveFile(const std::string& name, const std::string& bytes) {
  EM_ASM({ Module.stage.download(UTF8ToString($0), $1, $2); }, name.c_str(), bytes.data(),
         bytes.size());
}

}  // namespace ui
