#include "logic/LargestRule.h"
#include "logic/RunTimeError.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <regex>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string Read(const char* path) {
    std::ifstream in(path, std::ios::binary);
    EXPECT_TRUE(in.good()) << path;
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The file's lines, without their indentation.
std::set<std::string> Lines(const char* path) {
    std::istringstream in(Read(path));
    std::set<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        lines.insert(line.substr(std::min(line.find_first_not_of(' '), line.size())));
    }
    return lines;
}

std::u16string U16(const std::string& ascii) {
    return {ascii.begin(), ascii.end()};
}

// What the desktop's menu, the software centre and the manual tell a user, line by line.
TEST(DesktopFiles, SayWhatTheProgramIs) {
    const std::set<std::string> desktop = Lines(QZDS_DESKTOP_PATH);
    const std::set<std::string> metainfo = Lines(QZDS_METAINFO_PATH);
    const std::set<std::string> manual = Lines(QZDS_MANUAL_PATH);
    const std::pair<const std::set<std::string>*, std::string> promises[] = {
        // The Chinese name and summary in every language, under Utilities, with its own icon,
        // tied to the window whose WM_CLASS is the program's name.
        {&desktop, "Name=求最大数"},
        {&desktop, "Name[zh_CN]=求最大数"},
        {&desktop, "GenericName[zh_CN]=求三个数中的最大数"},
        {&desktop, "Comment[zh_CN]=显示日期和时间，并求三个数中的最大数"},
        {&desktop, "Categories=Utility;"},
        {&desktop, "Exec=qiuzuidashu"},
        {&desktop, "Icon=" QZDS_APP_ID},
        {&desktop, "StartupWMClass=qiuzuidashu"},
        {&metainfo, "<id>" QZDS_APP_ID "</id>"},
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
    };
    for (const auto& [lines, line] : promises) {
        EXPECT_TRUE(lines->contains(line)) << line;
    }
}

// The manual's examples of rounding and of the largest of three are what the program does.
TEST(Manual, ItsExamplesAreWhatTheProgramDoes) {
    std::string manual = Read(QZDS_MANUAL_PATH);
    std::erase(manual, '\\'); // "\-" is a minus sign
    const qzds::NumberSymbols symbols = qzds::NumberSymbolsFor("zh_CN");
    const std::regex rounding("(-?[0-9.]+) gives (-?[0-9]+)");
    const std::regex largest("(-?[0-9]+), (-?[0-9]+) and (-?[0-9]+) give Max =(-?[0-9]+)");
    int examples = 0;
    for (auto it = std::sregex_iterator(manual.begin(), manual.end(), rounding);
         it != std::sregex_iterator(); ++it, ++examples) {
        EXPECT_EQ(qzds::ToInteger(U16((*it)[1]), symbols), std::stoi((*it)[2])) << (*it)[0];
    }
    for (auto it = std::sregex_iterator(manual.begin(), manual.end(), largest);
         it != std::sregex_iterator(); ++it, ++examples) {
        EXPECT_EQ(qzds::LargestOfThree(U16((*it)[1]), U16((*it)[2]), U16((*it)[3]), symbols),
                  std::stoi((*it)[4]))
            << (*it)[0];
    }
    EXPECT_EQ(examples, 4);
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
