#include "downloads/pure/file_names.h"

#include <gtest/gtest.h>

using namespace downloads;

TEST(FileNames, FromTheAddress) {
    EXPECT_EQ(fileNameFromUrl("http://example.org/files/setup-1.2.exe"), "setup-1.2.exe");
    EXPECT_EQ(fileNameFromUrl("https://example.org/get/My%20Tool.zip?mirror=3#top"), "My Tool.zip");
    EXPECT_EQ(fileNameFromUrl("http://example.org/dir/"), "");
    EXPECT_EQ(fileNameFromUrl("http://example.org"), "");
    EXPECT_EQ(fileNameFromUrl("http://example.org?x=/a.exe"), ""); // the query names no file
    EXPECT_EQ(fileNameFromUrl("http://example.org/%E2%82%AC.txt"), "\xE2\x82\xAC.txt");
    EXPECT_EQ(fileNameFromUrl("http://example.org/100%.txt"), "100%.txt"); // a stray % stays
}

TEST(FileNames, FromContentDisposition) {
    EXPECT_EQ(fileNameFromContentDisposition("attachment; filename=\"Setup Tool.exe\""),
              "Setup Tool.exe");
    EXPECT_EQ(fileNameFromContentDisposition("attachment; filename=plain.zip; size=3"),
              "plain.zip");
    EXPECT_EQ(fileNameFromContentDisposition("attachment;FILENAME=\"a\\\"b.txt\""), "a\"b.txt");
    // The extended form wins, whichever comes first.
    EXPECT_EQ(fileNameFromContentDisposition(
                  "attachment; filename=\"fallback.txt\"; filename*=UTF-8''%E2%82%AC%20rates.txt"),
              "\xE2\x82\xAC rates.txt");
    EXPECT_EQ(fileNameFromContentDisposition("attachment; filename*=iso-8859-1'en'%E9t%E9.txt"),
              "\xC3\xA9t\xC3\xA9.txt");
    EXPECT_EQ(fileNameFromContentDisposition("inline"), "");
    // "myfilename=" is another parameter, not the file name.
    EXPECT_EQ(fileNameFromContentDisposition("attachment; myfilename=x.exe"), "");
}

TEST(FileNames, MadeSafeForWindows) {
    EXPECT_EQ(safeFileName("..\\..\\windows\\system32\\evil.dll"), "evil.dll");
    EXPECT_EQ(safeFileName("../../etc/passwd"), "passwd");
    EXPECT_EQ(safeFileName("a<b>c:d\"e|f?g*h.txt"), "a_b_c_d_e_f_g_h.txt");
    EXPECT_EQ(safeFileName("tab\there.txt"), "tab_here.txt");
    EXPECT_EQ(safeFileName("trailing. . "), "trailing");
    EXPECT_EQ(safeFileName("CON"), "_CON");
    EXPECT_EQ(safeFileName("com1.txt"), "_com1.txt");
    EXPECT_EQ(safeFileName("console.txt"), "console.txt");
    EXPECT_EQ(safeFileName("bad\xFF\xFEutf8.txt"), "bad__utf8.txt");
    EXPECT_EQ(safeFileName("\xE2\x82\xAC.txt"), "\xE2\x82\xAC.txt");
    EXPECT_EQ(safeFileName("..."), "");
}

TEST(FileNames, DevicesSpoofingAndBadUtf8FromAServerAreDefused) {
    for (const char* device : {"COM0", "LPT0", "CONIN$", "CONOUT$.log", "COM\xC2\xB9.exe",
                               "lpt\xC2\xB3", "con .txt", "nul . txt"})
        EXPECT_EQ(safeFileName(device), std::string("_") + device) << device;
    EXPECT_EQ(safeFileName("COM10.txt"), "COM10.txt");
    // Surrogate, overlong slash, beyond U+10FFFF: each byte replaced.
    EXPECT_EQ(safeFileName("a\xED\xA0\x80.txt"), "a___.txt");
    EXPECT_EQ(safeFileName("a\xE0\x80\xAF.txt"), "a___.txt");
    EXPECT_EQ(safeFileName("a\xF4\x90\x80\x80.txt"), "a____.txt");
    // The right-to-left override would show "invoice_exe.txt" as "...txt.exe";
    // a full-width quote turns into '"' in the ANSI code page.
    EXPECT_EQ(safeFileName("invoice\xE2\x80\xAEtxt.exe"), "invoice_txt.exe");
    EXPECT_EQ(safeFileName("a\xEF\xBC\x82"
                           "b.exe"),
              "a_b.exe");
    EXPECT_EQ(safeFileName("\xC2\x85x.exe"), "_x.exe");
    EXPECT_EQ(safeFileName("\xF0\x9F\x98\x80.txt"), "\xF0\x9F\x98\x80.txt"); // emoji kept
}

TEST(FileNames, AParameterNameInsideAQuotedValueIsPartOfTheValue) {
    EXPECT_EQ(fileNameFromContentDisposition("attachment; filename=\"a; filename*=UTF-8''b\""),
              "a; filename*=UTF-8''b");
    EXPECT_EQ(
        fileNameFromContentDisposition("attachment; x=\"filename=evil.exe\"; filename=ok.zip"),
        "ok.zip");
}

TEST(FileNames, SuggestionOrderAndNumbering) {
    EXPECT_EQ(suggestedFileName("attachment; filename=\"cd.exe\"", "http://h/final.exe",
                                "http://h/start.exe"),
              "cd.exe");
    EXPECT_EQ(suggestedFileName("", "http://h/final.exe", "http://h/start.exe"), "final.exe");
    EXPECT_EQ(suggestedFileName("", "http://h/", "http://h/start.exe"), "start.exe");
    EXPECT_EQ(suggestedFileName("attachment; filename=\"..\"", "http://h/", "http://h"),
              "download");
    EXPECT_EQ(numberedName("setup.exe", 2), "setup (2).exe");
    EXPECT_EQ(numberedName("archive.tar.gz", 3), "archive.tar (3).gz");
    EXPECT_EQ(numberedName("README", 2), "README (2)");
    EXPECT_EQ(numberedName(".hidden", 2), ".hidden (2)");
    EXPECT_TRUE(isInstaller("Setup.EXE"));
    EXPECT_TRUE(isInstaller("x.msi"));
    EXPECT_FALSE(isInstaller("x.exe.txt"));
    EXPECT_EQ(partPath("C:\\d\\a.zip"), "C:\\d\\a.zip.part");
}

TEST(FileNames, ShortenedKeepingTheExtensionAndWholeCharacters) {
    EXPECT_EQ(downloads::shortenFileName("setup.exe", 120), "setup.exe");
    EXPECT_EQ(downloads::shortenFileName(std::string(300, 'a') + ".exe", 120),
              std::string(116, 'a') + ".exe");
    // Characters, not bytes: a two-byte letter is never split.
    std::string umlauts;
    for (int i = 0; i < 200; ++i)
        umlauts += "\xC3\xA4";
    EXPECT_EQ(downloads::shortenFileName(umlauts + ".msi", 10), umlauts.substr(0, 12) + ".msi");
    // A long "extension" is part of the name; a cut ending in blanks or dots is trimmed.
    EXPECT_EQ(downloads::shortenFileName("a." + std::string(50, 'x'), 20),
              "a." + std::string(18, 'x'));
    EXPECT_EQ(downloads::shortenFileName("abc   def.zip", 7), "abc.zip");
}
