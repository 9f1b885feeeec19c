#pragma once
// A started program over a temporary archive for the service windows and commands.
#include "ProgramFixture.h"
#include "editing/EditingTestSupport.h" // WhenShown

#include "services/ServiceCommands.h"

#include <filesystem>

namespace lumo::test {

class ServicesTest : public ProgramTest {
protected:
    std::filesystem::path savedWorkingDir = std::filesystem::current_path();

    ServiceCommands& services() { return program->services(); }

    // n slides with a stored count, sounds on; `more` lines follow [LUMORETTA]'s keys.
    void startWith(int n, const std::vector<std::string>& more = {}) {
        writeSimpleRecords(n);
        std::vector<std::string> ini{"[LUMORETTA]", "DIAS=" + std::to_string(n), "SOUND=1"};
        ini.insert(ini.end(), more.begin(), more.end());
        writeIni(ini);
        start();
        clearRecords();
    }
    std::vector<QString> notices() {
        std::vector<QString> texts;
        for (const auto& d : shownOf(ShownDialog::Notice))
            texts.push_back(d.text);
        return texts;
    }
    static QString Text(const std::filesystem::path& p) {
        return QString::fromStdString(p.string());
    }
    bool iniHas(const std::string& line) {
        return archive.read("DIA.INI").find(line + "\r\n") != std::string::npos;
    }

    void TearDown() override {
        ProgramTest::TearDown();
        std::filesystem::current_path(savedWorkingDir); // opening an archive moves it
    }
};

} // namespace lumo::test
