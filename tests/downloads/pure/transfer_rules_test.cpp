#include "downloads/pure/signature_text.h"
#include "downloads/pure/transfer_rules.h"

#include <gtest/gtest.h>

using namespace downloads;

TEST(TransferRules, ResumeHeaders) {
    EXPECT_EQ(resumeHeaders(0, "\"e\"", ""), "");
    EXPECT_EQ(resumeHeaders(500, "\"e\"", "Mon, 01 Jan 2024 00:00:00 GMT"),
              "Range: bytes=500-\r\nIf-Range: \"e\"\r\n");
    // A weak tag may not guard a range: the date does.
    EXPECT_EQ(resumeHeaders(500, "W/\"e\"", "Mon, 01 Jan 2024 00:00:00 GMT"),
              "Range: bytes=500-\r\nIf-Range: Mon, 01 Jan 2024 00:00:00 GMT\r\n");
    EXPECT_EQ(resumeHeaders(500, "", ""), "Range: bytes=500-\r\n");
    // A validator with a line break would start a header line of the server's
    // choosing: it is not sent back.
    EXPECT_EQ(resumeHeaders(500, "\"e\"\r\nX-Evil: 1", "Mon, 01 Jan 2024 00:00:00 GMT"),
              "Range: bytes=500-\r\nIf-Range: Mon, 01 Jan 2024 00:00:00 GMT\r\n");
    EXPECT_EQ(resumeHeaders(500, "", "Mon\n"), "Range: bytes=500-\r\n");
}

TEST(TransferRules, ImpossibleRangesAreRefused) {
    // A total below the range's end, a negative end, a wrapping total, blanks
    // or signs inside the numbers: none is an append.
    for (const char* range : {"bytes 100-199/50", "bytes 100--1/*", "bytes 100-199/-1",
                              "bytes 100-18446744073709551615/*", "bytes 100-199/200 ",
                              "bytes +100-199/200", "bytes 100-199/199", "bytes 100-99/200"}) {
        const Plan p = planAnswer(100, {206, "", range, 100});
        EXPECT_EQ(p.action, Plan::Fail) << range;
        EXPECT_NE(p.failure.find("not understood"), std::string::npos) << range;
    }
    EXPECT_EQ(planAnswer(100, {206, "", "bytes 100-199/200", 100}).total, 200);
}

TEST(TransferRules, WhatAnAnswerMeans) {
    Answer whole{200, "OK", "", 1000};
    EXPECT_EQ(planAnswer(0, whole).action, Plan::WriteNew);
    EXPECT_EQ(planAnswer(0, whole).total, 1000);
    // A server that ignores the range sends everything: start from scratch.
    EXPECT_EQ(planAnswer(400, whole).action, Plan::WriteNew);

    Answer part{206, "Partial Content", "bytes 400-999/1000", 600};
    Plan p = planAnswer(400, part);
    EXPECT_EQ(p.action, Plan::Append);
    EXPECT_EQ(p.total, 1000);
    EXPECT_EQ(planAnswer(300, part).action, Plan::StartOver); // resumed elsewhere
    EXPECT_EQ(planAnswer(0, part).action, Plan::Fail);        // a part nobody asked for
    EXPECT_EQ(planAnswer(400, {206, "", "bytes 400-999/*", 600}).total, 1000);
    EXPECT_EQ(planAnswer(400, {206, "", "garbage", 600}).action, Plan::Fail);
    EXPECT_EQ(planAnswer(1000, {416, "Range Not Satisfiable", "bytes */1000", 0}).action,
              Plan::StartOver);

    Plan missing = planAnswer(0, {404, "Not Found", "", 20});
    EXPECT_EQ(missing.action, Plan::Fail);
    EXPECT_EQ(missing.failure, "the server answered 404 Not Found");
    EXPECT_EQ(planAnswer(0, {500, "", "", -1}).failure, "the server answered 500");
    EXPECT_EQ(planAnswer(0, {302, "Found", "", 0}).action, Plan::Fail); // a redirect not followed

    EXPECT_TRUE(isComplete(1000, 1000));
    EXPECT_FALSE(isComplete(999, 1000));
    EXPECT_FALSE(isComplete(1001, 1000));
    EXPECT_TRUE(isComplete(5, -1)); // no length announced: the end of the body is the end
}

TEST(TransferRules, Texts) {
    EXPECT_EQ(networkFailure(12002, 15, 30), "timed out: the server sent nothing for 30 s");
    EXPECT_EQ(networkFailure(12029, 15, 30),
              "no connection: the server refused it or did not answer within 15 s");
    EXPECT_EQ(networkFailure(12007, 15, 30), "no connection: the server's name was not found");
    EXPECT_EQ(networkFailure(99, 15, 30), "network error 99");
    EXPECT_EQ(cutShortFailure(1536, 3 * 1024 * 1024),
              "the transfer was cut short (1.50 KB of 3.00 MB)");
    EXPECT_EQ(stateText(State::Downloading), "Downloading");
    EXPECT_EQ(stateText(State::Waiting), "Waiting for a file name");
    EXPECT_EQ(stateText(State::Done), "Done");
    EXPECT_EQ(stateText(State::Done, "signed by Example Ltd"), "Done - signed by Example Ltd");
    EXPECT_EQ(stateText(State::Failed, "the server answered 404 Not Found"),
              "Failed: the server answered 404 Not Found");
    EXPECT_EQ(stateText(State::Cancelled), "Cancelled");
}

TEST(TransferRules, SignatureWording) {
    Signature ok{Signature::Signed, "Example Ltd", "Example CA", ""};
    Signature none{Signature::NotSigned, "", "", ""};
    Signature bad{Signature::Invalid, "Example Ltd", "Example CA",
                  "the file was changed after it was signed"};
    EXPECT_EQ(signatureSummary(ok), "signed by Example Ltd");
    EXPECT_EQ(signatureSummary(none), "not signed");
    EXPECT_EQ(signatureSummary(bad),
              "signature invalid (the file was changed after it was signed)");
    EXPECT_EQ(signatureSummary(Signature{}), "");
    EXPECT_EQ(openWarning("setup.exe", ok), "");
    EXPECT_EQ(openWarning("setup.exe", none).rfind("setup.exe is not signed", 0), 0u);
    EXPECT_NE(openWarning("setup.exe", bad).find("names Example Ltd"), std::string::npos);
    EXPECT_EQ(signatureDetails(ok), "Signed by Example Ltd, certificate issued by Example CA");
}
