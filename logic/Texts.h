#pragma once

// Every text the program shows. Change a wording here and it changes everywhere.

#include <array>
#include <string_view>

namespace qzds::text {

// The window's caption, and its buttons' captions: "&" marks the access key, Alt plus the letter
// after it.
inline constexpr std::u16string_view WindowCaption = u"求最大数 Tavrelo 2006.9.";
inline constexpr std::u16string_view ExitCaption = u"退出(&E)";
inline constexpr std::u16string_view MaxCaption = u"求最大数(&M)";
inline constexpr std::u16string_view WelcomeCaption = u"欢迎(&H)";
inline constexpr std::u16string_view TimeCaption = u"时间(&T)";

// The line break inside label texts: a lone carriage return, with no line feed after it.
inline constexpr char16_t LineBreak = u'\r';

// The label texts; the second line of the greeting and of the time is the locale's date or time.
inline constexpr std::u16string_view GreetingPrefix = u"欢迎光临！今天是：";
inline constexpr std::u16string_view WelcomeFirstLine = u"欢迎使用";
inline constexpr std::u16string_view WelcomeSecondLine = u"Visual Basic";
inline constexpr std::u16string_view TimePrefix = u"现在是北京时间：";

// What the user is told while the three numbers are asked for.
inline constexpr std::u16string_view ThreeNumbersInstruction =
    u"请输入 a,b,c 3个数，系统输出其中最大数。";

// The prompts of the three input dialogs, in the order they are asked.
inline constexpr std::array<std::u16string_view, 3> EntryPrompts = {u"输入 a", u"输入 b",
                                                                    u"输入 c"};

// The summary: piece 1, a, piece 2, b, piece 3, c, piece 4, the result.
inline constexpr std::array<std::u16string_view, 4> SummaryPieces = {u"输入：a=", u" b=", u" c=",
                                                                     u"  计算结果：Max ="};

// The program's short title, on every input dialog and failure report; not the window caption.
inline constexpr std::u16string_view ApplicationTitle = u"求最大数";

// The dialogs' buttons.
inline constexpr std::u16string_view Ok = u"确定";
inline constexpr std::u16string_view Cancel = u"取消";

// The failure report: "运行时错误 '13':", an empty line, then the error's description.
inline constexpr std::u16string_view ReportBeforeNumber = u"运行时错误 '";
inline constexpr std::u16string_view ReportAfterNumber = u"':\n\n";

// The descriptions of the run-time errors.
inline constexpr std::u16string_view OverflowDescription = u"溢出";
inline constexpr std::u16string_view OutOfMemoryDescription = u"内存不足";
inline constexpr std::u16string_view TypeMismatchDescription = u"类型不匹配";
inline constexpr std::u16string_view InternalErrorDescription = u"内部错误";

} // namespace qzds::text
