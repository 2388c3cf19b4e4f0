// The runner, stopped from the yield hook; the pause. Every count of "100 200 250"
// at 1 imp/s is 2, pulses at pixels 267 and 800 of strip row 190 (axis row 200).
#include <QClipboard>
#include <QFileDialog>
#include <QTimer>

#include "fixture.h"

// After a release over no entry (nothing runs), one count: the strip erased, its axis light
// blue, the pulses, class 2's bar (columns 138 to 146, from row 620). A clear erases the bar.
// A series stopped at its fourth yield ends after that count, no pulse drawn.
TEST_F(KestorTest, OneCountAClearASeriesAndAContinuousRunStoppedAndThePauseAcrossMidnight) {
  std::function<void(int)> on_yield = [](int) {};
  int yields = 0;
  const auto start_twos = [&](bool ticking, std::string file = "") {
    Start(1024, 768, {file.empty() ? WriteScratchFile("twos.ksq", "100\n200\n250\n") : file});
    ui::seams::SetYieldHook([&] { on_yield(++yields); }), yields = 0;
    if (ticking) ui::seams::SetClock([this] { return clock_ += 0.25f; });
  };
  const auto results = [&] { return Captions({&k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1}); };
  // The commands shown and enabled, the rate and the results shown, "Arrêter" hidden, the arrow.
  const auto expect_idle = [&](const std::string& shown) {
    std::string s = Flags({&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->ACTIVIT, &k->INFORMATION,
                           &k->FIN, &k->NBCOMPTAGE, &k->N1MOYEN, &k->VARI1, &k->Label34});
    for (ui::Label* c : {&k->LANCER, &k->EFFACER, &k->ACTIVITES, &k->INFORMATION})
      s += c->Enabled() ? '1' : '0';
    ui::Flush();  // the pointer as the window shows it
    EXPECT_EQ(std::make_pair(s + std::to_string(k->COMPTAGE_I + k->MARCHE_I) + results(),
                             k->peer()->view->cursor().shape()),
              std::make_pair("111111111011110" + shown, Qt::ArrowCursor));
  };
  start_twos(false);
  k->LANCER.FireClick(), k->LANCER_N.FireMouseUp();
  k->Line(9000, 2700, 9000, 2900, kLightRed), Run(0);  // a mark on the strip
  expect_idle(" Nombre de comptage = 1 | Nmoyen = 2 | = 0 ");
  EXPECT_EQ(std::make_tuple(k->N1COMPTE.Caption(), yields,
                            Seen({600, 190, 50,  200, 1000, 200, 267, 190, 800, 190, 142,
                                  618, 142, 621, 137, 625,  138, 625, 146, 625, 147, 625})),
            std::make_tuple(" Valeur du comptage = 2 ", 0, "WBBBBWBWBBW"));
  k->EFFACER.FireClick(), k->OUI.FireClick();
  EXPECT_EQ(Seen({142, 625, 142, 633, 50, 200, 500, 200}), "WBRB");
  on_yield = [&](int n) {  // "Arrêter", no command, the mean
    EXPECT_EQ(Flags({&k->Label34, &k->LANCER, &k->FIN, &k->SIGMA2, &k->N1MOYEN, &k->VARI1}) +
                  std::to_string(k->COMPTAGE_I) + std::to_string(k->MARCHE_I) + results(),
              "10011111 Nombre de comptages = " + std::to_string(n) + "| Nmoyen = 2| = 0");
    if (n == 4) k->Label34.FireClick();
  };
  Run(15);
  EXPECT_EQ(std::make_tuple(yields, k->N0C_L, k->N1COMPTE.Shown(),  // 4 counts: from row 580
                            Seen({267, 190, 800, 190, 50, 200, 142, 578, 142, 581})),
            std::make_tuple(4, 100000, false, "WWBWB"));
  expect_idle(" Nombre de comptages = 4 | Nmoyen = 2 | = 0 ");
  // The continuous run: the pass counter cycles 1 to 499, a 2-second pause after each count; the
  // stop leaves the last count's pulses. A missing file ends the run after one pass, its pause
  // and the strip's clearing.
  start_twos(true);
  float last = -2.0f;
  on_yield = [&](int n) {
    EXPECT_EQ(std::make_tuple(k->BOUCLE_L, k->MARCHE_I, clock_ - std::exchange(last, clock_) >= 2,
                              Captions({&k->N1MOYEN, &k->VARI1, &k->N1COMPTE, &k->NBCOMPTAGE})),
              std::make_tuple((n - 1) % 499 + 1, 2, true,
                              " Nmoyen = 2 | = 0 | Valeur du comptage = 2 | Nombre de comptage" +
                                  std::string(n > 1 ? "s = " : " = ") + std::to_string(n) + " "))
        << n;
    if (n == 510) k->Label34.FireClick();
  };
  Run(16);
  expect_idle(" Nombre de comptages = 510 | Nmoyen = 2 | = 0 ");
  EXPECT_EQ(std::to_string(yields) + Flags({&k->N1COMPTE}) + Seen({267, 190, 800, 190}), "5101BB");
  start_twos(true, ScratchDir() + "/nowhere.ksq");
  on_yield = [&](int) { last = clock_, k->Line(7500, 2700, 7500, 2900, kLightRed); };
  Run(16);
  EXPECT_EQ(std::make_tuple(yields, Seen({500, 190}), k->DISK_0.Shown(), clock_ - last >= 2),
            std::make_tuple(1, "W", true, true));
  expect_idle(" Nombre de comptage = 0 | Nmoyen = 0 | = 0 ");
  // The pause ends two seconds after its first reading, on a clock reading each value twice,
  // across midnight; at once when set back (-1 reads 5000, then 1): start, readings, last reading.
  for (const auto& [start, count, end] :
       {std::tuple<float, int, float>{50000, 17, 50002}, {86399.5f, 17, 1.5f}, {-1, 2, 1}}) {
    int readings = 0;
    ui::seams::SetClock([&, s = start] {
      const float t = s >= 0 ? s + 0.25f * (readings / 2) : (readings == 0 ? 5000.0f : 1.0f);
      return ++readings, last = t >= 86400.0f ? t - 86400.0f : t;
    });
    k->PAUSE2();
    EXPECT_EQ(std::make_tuple(readings, last), std::make_tuple(count, end)) << start;
  }
}

// The results the keys hand over. At 16 imp/s a value v moves the pulse 2.5 v twips: one reaching
// 15360 ends the count (lost), one in [2680, 12680] is counted. The counts the file makes; the
// text of the first n (ten: mean 15.3, square of the e.q.m. 2.41; all 51: 15.73 and 2.91).
TEST_F(KestorTest, CtrlCCopiesAndCtrlSSavesEveryCountTheHistogramAndTheLabelsFigures) {
  std::string file;
  for (int i = 0; i < 97; ++i)
    file += std::to_string(int(-250 * std::log((i * 37 % 97 + .5) / 97))) + "\n";
  const int counts[51] = {16, 15, 18, 17, 14, 17, 15, 13, 14, 14, 17, 14, 15, 17, 18, 14, 19,
                          16, 18, 15, 16, 15, 13, 14, 14, 17, 14, 15, 17, 18, 14, 19, 16, 18,
                          15, 16, 15, 13, 14, 14, 17, 14, 15, 17, 18, 14, 19, 16, 18, 15, 16};
  const auto results = [&](int n, std::string mean, std::string square, char sep = '\t') {
    std::string s = "KESTOR|2026-12-07 09:05:03\nTaux de comptage (imp/s)|16\nNombre de comptages|";
    s += std::to_string(n) + "\nNmoyen|" + mean + "\nσ²|" + square + "\n\nClasse|Effectif\n";
    for (int c = 0; c <= 50; ++c)
      s += std::to_string(c) + "|" + std::to_string(std::count(counts, counts + n, c)) + "\n";
    s += "\nNuméro|Valeur\n";
    for (int i = 0; i < n; ++i) s += std::to_string(i + 1) + "|" + std::to_string(counts[i]) + "\n";
    return std::replace(s.begin(), s.end(), '|', sep), s;
  };
  Start(1024, 768, {WriteScratchFile("spread.ksq", file)});
  ui::seams::SetNow([] { return ui::DateTime{2026, 12, 7, 9, 5, 3}; });
  const auto key = [w = Show()](Qt::Key c) { QTest::keyClick(w, c, Qt::ControlModifier); };
  const auto copied = [] { return QGuiApplication::clipboard()->text().toStdString(); };
  ChooseRate(5);  // a copy during the series: its 10 counts
  ui::seams::SetYieldHook([&, yields = 0]() mutable { ++yields == 10 ? key(Qt::Key_C) : void(); });
  Run(5), Run(0);
  EXPECT_EQ(copied(), results(10, "15.3", "2.41"));
  key(Qt::Key_C);
  EXPECT_EQ(copied(), results(51, "15.73", "2.91"));
  // A folder fails, said in one line; cancelled, nothing is said; the toolkit's save dialog offers
  // the dated name in the documents folder (the home folder without one), adds ".csv" to one typed.
  const std::string home = ScratchDir(), name = "/kestor-2026-12-07-09h05.csv";
  ScopedEnv at_home("HOME", home.c_str());
  std::vector<std::string> proposed;
  ui::seams::SetSaveDialog([&](const std::string& path) {
    return proposed.push_back(path), proposed.size() == 1 ? home : "";
  });
  testing::internal::CaptureStderr(), key(Qt::Key_S), key(Qt::Key_S);
  const std::string said = testing::internal::GetCapturedStderr();
  EXPECT_EQ(said.substr(0, said.find(':', 8) + 1) + said.substr(said.find('\n')),
            "kestor: the file " + home + " could not be saved:\n");
  ui::seams::SetSaveDialog({}), std::filesystem::create_directory(home + "/Documents");
  // Forgets an earlier test's end of program, or the dialog's own loop would end at once.
  QTimer::singleShot(0, [] { QCoreApplication::exit(0); }), QCoreApplication::exec();
  std::function<void()> answer = [&] {  // once the dialog shows
    auto* dialog = k->peer()->view->findChild<QFileDialog*>();
    if (!dialog || !dialog->isVisible()) return QTimer::singleShot(0, answer);
    proposed.push_back(dialog->selectedFiles().value(0).toStdString());
    EXPECT_EQ(dialog->acceptMode(), QFileDialog::AcceptSave);
    dialog->selectFile(QString::fromStdString(home + "/typed"));
    static_cast<QDialog*>(dialog)->accept();  // QFileDialog's own, on the name typed
  };
  QTimer::singleShot(0, answer), key(Qt::Key_S);
  std::ifstream saved(home + "/typed.csv");
  EXPECT_EQ(std::make_tuple(std::string(std::istreambuf_iterator<char>(saved), {}), proposed),
            std::make_tuple(
                "\xEF\xBB\xBF" + results(51, "15.73", "2.91", ';'),
                std::vector<std::string>{home + name, home + name, home + "/Documents" + name}));
  k->EFFACER.FireClick(), k->OUI.FireClick(), key(Qt::Key_C);  // a clearing forgets the counts
  EXPECT_EQ(copied(), results(0, "", ""));
}
