// What Info-ZIP and Python's zipfile write, these classes read; what these classes write,
// "unzip -t" and zipfile accept.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include "support/test_env.h"
#include "zip_test_support.h"

using namespace ziptest;

namespace {

Entries SampleFiles() {
    return {{"index.kr9", "INDEX FILE\r\nRecFile_0001.rec\r\n"},
            {"RecFile_0001.rec", RandomBytes(40000, 21)},
            {"log.txt", TextBytes(100000)},
            {"empty.txt", ""}};
}

void WriteSampleFiles(const testenv::ScratchFolder& folder) {
    for (const auto& [name, content] : SampleFiles())
        folder.Write("in/" + name, content);
}

}  // namespace

TEST(ZipInterop, InfoZipArchivesRead) {
    SKIP_WITHOUT("zip");
    testenv::ScratchFolder folder;
    WriteSampleFiles(folder);
    const std::string files = "index.kr9 RecFile_0001.rec log.txt empty.txt";
    ASSERT_EQ(Shell("cd in && zip -q ../deflated.zip " + files), 0);
    ASSERT_EQ(Shell("cd in && zip -q -0 ../stored.zip " + files), 0);
    ASSERT_EQ(Shell("cd in && zip -q -P segreto ../locked.zip " + files), 0);
    ASSERT_EQ(Shell("cd in && zip -q -0 -P segreto ../locked-stored.zip " + files), 0);
    ASSERT_EQ(Shell("cd in && zip -q -r ../tree.zip ."), 0);
    EXPECT_EQ(ReadArchive("deflated.zip"), SampleFiles());
    EXPECT_EQ(ReadArchive("stored.zip"), SampleFiles());
    EXPECT_EQ(ReadArchive("locked.zip", "segreto"), SampleFiles());
    EXPECT_EQ(ReadArchive("locked-stored.zip", "segreto"), SampleFiles());

    // The header's check byte refuses a wrong password; the one in 256 that it lets through
    // fails on the data.
    CZipArchive zip;
    zip.Open("locked.zip", CZipArchive::kOpenReadOnly);
    zip.SetPassword(WrongPassword("locked.zip", 1, "segreto", false));
    EXPECT_EQ(ZipCause([&] { zip.TestFile(1); }), CZipException::kBadPassword);
    zip.SetPassword(WrongPassword("locked.zip", 2, "segreto", true));
    const int cause = ZipCause([&] { zip.TestFile(2); });  // deflated: garbage does not inflate
    EXPECT_NE(cause, 0);
    EXPECT_NE(cause, CZipException::kBadPassword);
    zip.Close(true);
    zip.Open("tree.zip", CZipArchive::kOpenReadOnly);
    for (int i = 0; i < zip.GetCount(); ++i)
        ASSERT_TRUE(zip.ExtractFile(i, folder.File("out"))) << i;
    zip.Close();
    EXPECT_EQ(folder.Read("out/log.txt"), TextBytes(100000));
}

TEST(ZipInterop, PythonArchivesRead) {
    testenv::ScratchFolder folder;
    WriteSampleFiles(folder);
    ASSERT_EQ(RunPython(R"(
import io, zipfile
files = ['index.kr9', 'RecFile_0001.rec', 'log.txt', 'empty.txt']
for name, method in (('deflated.zip', zipfile.ZIP_DEFLATED), ('stored.zip', zipfile.ZIP_STORED)):
    with zipfile.ZipFile(name, 'w', method) as z:
        for f in files:
            z.write('in/' + f, f)
        z.comment = b'commento'

class Unseekable(io.RawIOBase):
    def __init__(self, f): self.f = f
    def writable(self): return True
    def write(self, b): return self.f.write(b)

# Written to a stream that cannot seek back: sizes go into data descriptors.
with open('streamed.zip', 'wb') as out:
    with zipfile.ZipFile(Unseekable(out), 'w', zipfile.ZIP_DEFLATED) as z:
        for f in files:
            z.writestr(f, open('in/' + f, 'rb').read())

with zipfile.ZipFile('names.zip', 'w') as z:
    z.writestr('cartella/', b'')
    z.writestr('cartella/citt\u00e0.txt', b'Roma')
)"),
              0);
    EXPECT_EQ(ReadArchive("deflated.zip"), SampleFiles());
    EXPECT_EQ(ReadArchive("stored.zip"), SampleFiles());
    EXPECT_EQ(ReadArchive("streamed.zip"), SampleFiles());
    EXPECT_EQ(ReadArchive("names.zip"),
              (Entries{{"cartella\\", ""}, {"cartella\\citt\xc3\xa0.txt", "Roma"}}));

    CZipArchive zip;
    zip.Open("deflated.zip", CZipArchive::kOpenReadOnly);
    EXPECT_EQ(zip.GetGlobalComment(), "commento");
    zip.Close();
    zip.Open("names.zip", CZipArchive::kOpenReadOnly);
    ASSERT_TRUE(zip.ExtractFile(1, folder.File("out")));
    EXPECT_EQ(folder.Read("out/cartella/citt\xc3\xa0.txt"), "Roma");
    zip.Close();
}

TEST(ZipInterop, OurArchivesPassUnzipAndZipfile) {
    SKIP_WITHOUT("unzip");
    testenv::ScratchFolder folder;
    WriteSampleFiles(folder);
    for (const auto& [archive, level, password] :
         {std::tuple{"deflated.zip", 6, ""}, std::tuple{"fast.zip", 1, ""},
          std::tuple{"stored.zip", 0, ""}, std::tuple{"locked.zip", 9, "segreto"},
          std::tuple{"locked-stored.zip", 0, "segreto"}}) {
        CZipArchive zip;
        zip.Open(archive, CZipArchive::kCreate);
        zip.SetPassword(password);
        for (const auto& [name, content] : SampleFiles())
            ASSERT_TRUE(zip.AddNewFile(folder.File("in/" + name), level, false));
        zip.Close();
        const std::string pw = *password ? std::string(" -P ") + password : "";
        EXPECT_EQ(Shell("unzip -tq" + pw + " " + archive + " >/dev/null"), 0) << archive;
        EXPECT_EQ(Shell("unzip -p" + pw + " " + archive + " log.txt > log.out"), 0);
        EXPECT_EQ(folder.Read("log.out"), TextBytes(100000)) << archive;
    }
    WriteArchive("names.zip", {{"cartella\\citt\xe0.txt", "Roma"}, {"plain.txt", "x"}});
    EXPECT_EQ(Shell("unzip -tq names.zip >/dev/null"), 0);
    // Entries made without a disk file still carry a mode that unzip can give its files.
    ASSERT_EQ(Shell("unzip -q names.zip -d names-out"), 0);
    struct stat st {};
    ASSERT_EQ(::stat(folder.File("names-out/plain.txt").c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0600, 0600u);
    EXPECT_EQ(RunPython(R"(
import zipfile
for name in ('deflated.zip', 'fast.zip', 'stored.zip'):
    with zipfile.ZipFile(name) as z:
        assert z.testzip() is None, name
        assert z.read('log.txt') == open('in/log.txt', 'rb').read(), name
for name in ('locked.zip', 'locked-stored.zip'):
    with zipfile.ZipFile(name) as z:
        z.setpassword(b'segreto')
        assert z.read('RecFile_0001.rec') == open('in/RecFile_0001.rec', 'rb').read(), name
with zipfile.ZipFile('names.zip') as z:
    info = z.infolist()
    assert info[0].filename == 'cartella/citt\u00e0.txt', info[0].filename
    assert info[0].flag_bits & 0x800
    assert not info[1].flag_bits & 0x800
)"),
              0);
}
