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

// What the desktop's menu, the software centre and the manual tell a user, each a line's end.
TEST(DesktopFiles, SayWhatTheProgramIs) {
    const std::string desktop = Read(QZDS_DESKTOP_PATH);
    const std::string metainfo = Read(QZDS_METAINFO_PATH);
    const std::string manual = Read(QZDS_MANUAL_PATH);
    const std::pair<const std::string*, std::string> promises[] = {
        // The Chinese name and summary in every language, under Utilities, with its own icon,
        // tied to the window whose WM_CLASS is the program's name.
        {&desktop, "\nName=求最大数"},
        {&desktop, "Name[zh_CN]=求最大数"},
        {&desktop, "GenericName[zh_CN]=求三个数中的最大数"},
        {&desktop, "Comment[zh_CN]=显示日期和时间，并求三个数中的最大数"},
        {&desktop, "Categories=Utility;"},
        {&desktop, "Icon=" QZDS_APP_ID},
        {&desktop, "StartupWMClass=qiuzuidashu"},
        {&metainfo, "<launchable type=\"desktop-id\">" QZDS_APP_ID ".desktop</launchable>"},
        {&metainfo, "<name xml:lang=\"zh-CN\">求最大数</name>"},
        {&metainfo, "<summary xml:lang=\"zh-CN\">求三个数中的最大数</summary>"},
        {&metainfo, "<lang percentage=\"100\">zh_CN</lang>"},
        {&metainfo, "<category>Utility</category>"},
        // The release as CMakeLists.txt sets it, as the manual's heading gives it.
        {&metainfo, "<release version=\"" QZDS_VERSION "\" date=\"" QZDS_RELEASE_DATE "\">"},
        {&manual, ".TH QIUZUIDASHU 1 " QZDS_RELEASE_DATE " \"qiuzuidashu " QZDS_VERSION
                  "\" \"User Commands\""},
        {&manual, R"(.BR \[u6B22]\[u8FCE](H) ", " Alt+H)"},
        {&manual, R"(.BR \[u65F6]\[u95F4](T) ", " Alt+T)"},
        {&manual, R"(.BR \[u6C42]\[u6700]\[u5927]\[u6570](M) ", " Alt+M)"},
        {&manual, R"(.BR \[u9000]\[u51FA](E) ", " Alt+E)"},
        // LC_ALL over LC_TIME or LC_NUMERIC over LANG.
        {&manual, R"(.BR LC_ALL ", " LC_TIME ", " LANG)"},
        {&manual, R"(.BR LC_ALL ", " LC_NUMERIC ", " LANG)"},
        // The rounding and the range as LargestRuleTest's rows give them.
        {&manual, "2.5 gives 2,\n3.5 gives 4 and \\-2.5 gives \\-2."},
        {&manual, "So 5, \\-40000 and 1 give Max =5."},
    };
    for (const auto& [text, line] : promises) {
        EXPECT_NE(text->find(line + "\n"), std::string::npos) << line;
    }
}

TEST(Manual, NamesTheProgramsExitStatuses) {
    const std::string manual = Read(QZDS_MANUAL_PATH);
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
