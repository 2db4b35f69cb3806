#include "logic/RunTimeError.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <set>
#include <string>
#include <vector>

namespace {

std::string Read(const char* path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

unsigned Le16(const std::string& data, std::size_t at) {
    return static_cast<unsigned char>(data.at(at)) |
           static_cast<unsigned>(static_cast<unsigned char>(data.at(at + 1))) << 8;
}

TEST(Icon, HoldsExactlyTheThreeImages) {
    const std::string ico = Read(QZDS_ICO_PATH);
    ASSERT_GE(ico.size(), 6U);
    EXPECT_EQ(Le16(ico, 0), 0U); // reserved
    EXPECT_EQ(Le16(ico, 2), 1U); // an icon, not a cursor
    ASSERT_EQ(Le16(ico, 4), 3U);

    struct Image {
        unsigned size;
        unsigned bits;
    };
    const std::vector<Image> expected = {{32, 1}, {32, 4}, {16, 4}};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        const std::size_t entry = 6 + 16 * i;
        EXPECT_EQ(static_cast<unsigned char>(ico.at(entry)), expected[i].size);     // width
        EXPECT_EQ(static_cast<unsigned char>(ico.at(entry + 1)), expected[i].size); // height
        EXPECT_EQ(static_cast<unsigned char>(ico.at(entry + 2)), 1U << expected[i].bits);
        EXPECT_EQ(Le16(ico, entry + 6), expected[i].bits);
    }
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
