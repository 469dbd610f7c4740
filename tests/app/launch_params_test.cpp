// The parameters handed to java.exe.
#include <gtest/gtest.h>

#include "app/launch_params.h"

namespace {

TEST(AppendArgument, QuotesOnlyWhatTheRuntimeWouldSplit) {
    struct Case { std::string argument; std::string appended; };
    const Case cases[] = {
        {"doc.txt", " doc.txt"},
        {"C:\\dir\\", " C:\\dir\\"},                       // no blank: byte for byte
        {"*.jar", " *.jar"},
        {"My Documents\\a b.txt", " \"My Documents\\a b.txt\""},
        {"tab\there", " \"tab\there\""},
        {"", " \"\""},
        {"C:\\My Dir\\", " \"C:\\My Dir\\\\\""},           // trailing backslash doubled
        {"say \"hi\"", " \"say \\\"hi\\\"\""},
        {"a\\\"b", " \"a\\\\\\\"b\""},                     // backslash before a quote doubled
        {"x\"y", " \"x\\\"y\""},                           // a quote without blank
        {"a\\\\b c", " \"a\\\\b c\""},                     // backslashes not before a quote stay
    };
    for (const Case& c : cases) {
        std::string arguments;
        AppendArgument(arguments, c.argument);
        EXPECT_EQ(arguments, c.appended) << c.argument;
    }
}

TEST(AssembleJavaParameters, ClassPathSwitchIsAlwaysThere) {
    EXPECT_EQ(AssembleJavaParameters("", "", ""), "-cp \"\"");
    EXPECT_EQ(AssembleJavaParameters("-Xmx1g Main", "a.jar;b.jar", "x y"), "-Xmx1g Main -cp \"a.jar;b.jar\" x y");
    std::string arguments;  // empty CommandLineArgs, one launcher argument
    AppendArgument(arguments, "doc");
    EXPECT_EQ(AssembleJavaParameters("", "", arguments), "-cp \"\"  doc");
}

}  // namespace
