#include "logic/RunTimeError.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <set>
#include <string>

namespace {

std::string Read(const char* path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(DesktopFiles, NameTheProgramByItsIdAndVersion) {
    // The menu shows the Chinese name in every language, files it under Utilities, and starts it.
    const std::string desktop = Read(QZDS_DESKTOP_PATH);
    for (const char* line : {"Icon=" QZDS_APP_ID, "Exec=qiuzuidashu", "Name=求最大数",
                             "Name[zh_CN]=求最大数", "Categories=Utility;"}) {
        EXPECT_NE(desktop.find("\n" + std::string(line) + "\n"), std::string::npos) << line;
    }

    const std::string metainfo = Read(QZDS_METAINFO_PATH);
    EXPECT_NE(metainfo.find("<id>" QZDS_APP_ID "</id>"), std::string::npos);
    EXPECT_NE(metainfo.find("<release version=\"" QZDS_VERSION "\""), std::string::npos);
    EXPECT_NE(metainfo.find("<launchable type=\"desktop-id\">" QZDS_APP_ID ".desktop</launchable>"),
              std::string::npos);
}

TEST(Manual, NamesTheReleaseAndTheProgramsExitStatuses) {
    const std::string manual = Read(QZDS_MANUAL_PATH);
    EXPECT_EQ(manual.substr(0, manual.find('\n')),
              ".TH QIUZUIDASHU 1 " QZDS_RELEASE_DATE " \"qiuzuidashu " QZDS_VERSION
              "\" \"User Commands\"");
    // Its list of exit statuses is the end by 退出 and the program's error numbers, no other.
    std::set<int> listed;
    const std::regex item("\n\\.B (\\d+)\n");
    for (auto it = std::sregex_iterator(manual.begin() +
                                            static_cast<std::ptrdiff_t>(manual.find("EXIT STATUS")),
                                        manual.end(), item);
         it != std::sregex_iterator(); ++it) {
        listed.insert(std::stoi((*it)[1]));
    }
    using qzds::ErrorNumber;
    std::set<int> statuses = {0};
    for (const ErrorNumber number : {ErrorNumber::Overflow, ErrorNumber::OutOfMemory,
                                     ErrorNumber::TypeMismatch, ErrorNumber::InternalError}) {
        statuses.insert(static_cast<int>(number));
    }
    EXPECT_EQ(listed, statuses);
}

} // namespace
