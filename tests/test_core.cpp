// The data-file search list of the toolkit-neutral core (ui/core.cpp): the
// same for every backend.
#include "fixture.h"

TEST(DataFileCandidates, TheUserDataFolderFollowsXdgDataHome) {
  ScopedEnv home("HOME", "/home/someone");
  const std::string local = "/home/someone/.local/share/kestor/KESTOR_11.KSQ";
  for (const auto& c : {std::pair<const char*, std::string>{nullptr, local},
                        {"", local},
                        {"/srv/data", "/srv/data/kestor/KESTOR_11.KSQ"}}) {
    SCOPED_TRACE(c.first ? c.first : "(unset)");
    ScopedEnv xdg("XDG_DATA_HOME", c.first);
    ui::seams::Reset();
    const std::vector<std::string> l = ui::DataFileCandidates();
    EXPECT_EQ(std::make_tuple(l.size(), l.at(0), l.at(4), l.at(5), l.at(10)),
              std::make_tuple(11u, "KESTOR_11.KSQ", c.second, "/home/someone/KESTOR_11.KSQ",
                              "/mnt/KESTOR_11.KSQ"));
  }
}
