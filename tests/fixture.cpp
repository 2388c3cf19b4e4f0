#include "fixture.h"

#include <unistd.h>

std::string ScratchDir() {
  static const std::string dir = [] {
    auto p = std::filesystem::temp_directory_path() / ("kestor-tests-" + std::to_string(getpid()));
    std::filesystem::create_directories(p);
    return p.string();
  }();
  return dir;
}

std::string WriteScratchFile(const std::string& name, const std::string& content) {
  const std::string path = ScratchDir() + "/" + name;
  std::ofstream(path, std::ios::binary | std::ios::trunc) << content;
  return path;
}

void KestorTest::Start(float w_px, float h_px, std::vector<std::string> data_files,
                       float clock_seconds) {
  ui::seams::Reset();
  ui::seams::SetScreenTwips(w_px * 15.0f, h_px * 15.0f);
  clock_ = clock_seconds;
  ui::seams::SetClock([this] { return clock_; });
  ui::seams::SetDataFileCandidates(data_files.empty()
                                       ? std::vector<std::string>{KESTOR_BUILD_DIR "/KESTOR_11.KSQ"}
                                       : data_files);
  k = std::make_unique<KESTOR_11>(), ui::Application::LoadForm(*k);
}

void KestorTest::TearDown() {
  if (k && k->peer()->view) k->peer()->view->hide();
  k.reset();
  ui::files::CloseAll();
  ui::seams::Reset();
}

QWindow* KestorTest::Show() {
  ui::Application::ShowForm(*k);
  QCoreApplication::processEvents();
  return k->peer()->view->windowHandle();
}

QImage KestorTest::Screen() const {
  return QGuiApplication::primaryScreen()->grabWindow(k->peer()->view->winId()).toImage();
}

QImage KestorTest::Grab(const ui::Widget& w) {
  ui::Flush();
  return w.peer()->view->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

void KestorTest::Run(int entry) {
  k->LANCER.FireClick(), k->LANCER_N.SetListIndex(entry), k->LANCER_N.FireMouseUp();
}

void KestorTest::ChooseRate(int entry, bool confirm) {
  k->ACTIVITES.FireMouseMove(), k->ACTIVITES.FireClick();  // the list under its header
  k->ACTIV.SetListIndex(entry), k->ACTIV.FireClick();
  if (confirm && k->ATTENTION.Shown()) k->OUI.FireClick();
}

void KestorTest::OpenPage(int entry) {
  k->INFORMATION.FireClick(), k->INFOS.SetListIndex(entry), k->INFOS.FireMouseUp();
}

float KestorTest::Measure(const std::string& text, float points, bool width,
                          const std::string& face, bool bold) {
  ui::Label probe(*k, "probe");
  probe.SetAutoSize(true), probe.SetFontName(face), probe.SetFontBold(bold);
  probe.SetCaption(text), probe.SetFontSize(points);
  return width ? probe.Width() : probe.Height();
}

std::string KestorTest::Seen(std::initializer_list<int> xy) const {
  std::string letters;
  for (const int* p = xy.begin(); p + 1 < xy.end(); p += 2) {
    const std::string c = At(p[0], p[1]);
    letters += c == kBlank ? 'W' : c == kBlue ? 'B' : c == kRed ? 'R' : c == kMagenta ? 'M' : '?';
  }
  return letters;
}

// The top left corner in window twips.
static std::pair<float, float> InWindow(const ui::Widget& w) {
  float x = w.Left(), y = w.Top();
  for (ui::Container* c = w.Parent(); c && c->Parent(); c = c->Parent())
    x += c->Left(), y += c->Top();
  return {x, y};
}

QPoint KestorTest::Centre(const ui::Widget& w) {
  const auto [x, y] = InWindow(w);
  return QPoint(static_cast<int>((x + w.Width() / 2) / 15),
                static_cast<int>((y + w.Height() / 2) / 15));
}

QPoint KestorTest::Origin(const ui::Widget& w) {
  const auto [x, y] = InWindow(w);
  return QPoint(Px(x), Px(y));
}

std::string KestorTest::Captions(std::initializer_list<const ui::Label*> labels) {
  std::string s;
  for (const ui::Label* l : labels) s += (l == *labels.begin() ? "" : "|") + l->Caption();
  return s;
}

std::string KestorTest::Flags(std::initializer_list<const ui::Widget*> widgets) {
  std::string s;
  for (const ui::Widget* w : widgets) s += w->Shown() ? '1' : '0';
  return s;
}

std::string KestorTest::ShownNames() const {
  std::vector<std::string> names;
  for (const ui::Container* c : std::initializer_list<const ui::Container*>{k.get(), &k->Picture1})
    for (const ui::Widget* w : c->Children())
      if (w->Shown()) names.push_back(w->Name());
  std::sort(names.begin(), names.end());
  std::string s;
  for (const std::string& n : names) s += n + " ";
  return s;
}
