#include "soap/folder_list_parser.h"

#include <gtest/gtest.h>
#include <libxml/parser.h>
#include <libxml/tree.h>
#include <stdlib.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/printer_simulator.h"

namespace jc {
namespace {

using test::folderListAnswer;
using test::SimulatedFolder;

std::string answerWith(std::string_view responseChildren) {
  return "<s:Envelope xmlns:s=\"http://schemas.xmlsoap.org/soap/envelope/\"><s:Body>"
         "<listfiles-response>" +
         std::string(responseChildren) + "</listfiles-response></s:Body></s:Envelope>";
}

std::string entry(std::string_view children) {
  return "<file>" + std::string(children) + "</file>";
}

std::vector<std::u16string> names(const FolderListParse& parse) {
  std::vector<std::u16string> out;
  for (const auto& folder : parse.folders) out.push_back(folder.name);
  return out;
}

TEST(FolderListParserTest, ReadsEntriesInDocumentOrder) {
  const auto parse = parseFolderListAnswer(folderListAnswer(
      {{"Projects", false, true}, {"Payroll", true, true}, {"Scans", false, false}}));
  EXPECT_TRUE(parse.documentRead);
  EXPECT_TRUE(parse.ok);
  const FolderList expected = {{u"Projects", false, true, false},
                               {u"Payroll", true, true, false},
                               {u"Scans", false, false, false}};
  EXPECT_EQ(parse.folders, expected);
}

TEST(FolderListParserTest, FlagsAreSetOnlyByTheExactTextTrue) {
  struct Case {
    const char* text;
    bool expected;
  };
  for (const Case& c :
       {Case{"true", true}, Case{"True", false}, Case{"TRUE", false}, Case{" true", false},
        Case{"true ", false}, Case{"1", false}, Case{"yes", false}, Case{"", false}}) {
    SCOPED_TRACE(std::string("text '") + c.text + "'");
    const std::string text = c.text;
    const auto parse = parseFolderListAnswer(
        answerWith("<result-code>ok</result-code><files>" +
                   entry("<name>A</name><password>" + text + "</password><dir>" + text + "</dir>") +
                   "</files>"));
    ASSERT_EQ(parse.folders.size(), 1u);
    EXPECT_EQ(parse.folders[0].password, c.expected);
    EXPECT_EQ(parse.folders[0].dir, c.expected);
  }
}

TEST(FolderListParserTest, ALaterFlagElementDoesNotClearAnEarlierTrue) {
  const auto parse = parseFolderListAnswer(answerWith(
      "<files>" + entry("<password>true</password><name>A</name><password>false</password>") +
      "</files>"));
  ASSERT_EQ(parse.folders.size(), 1u);
  EXPECT_TRUE(parse.folders[0].password);
}

TEST(FolderListParserTest, VerdictFollowsResultCodeAndFilesElements) {
  struct Case {
    const char* what;
    std::string children;
    bool ok;
    std::vector<std::u16string> names;
  };
  const std::string filesAB =
      "<files>" + entry("<name>A</name>") + entry("<name>B</name>") + "</files>";
  const Case cases[] = {
      {"no result code", filesAB, true, {u"A", u"B"}},
      {"refusal", "<result-code>unsupported-operation</result-code>" + filesAB, false, {}},
      {"refusal after files", filesAB + "<result-code>busy</result-code>", false, {}},
      {"later result code overrides",
       "<result-code>busy</result-code><result-code>ok</result-code>" + filesAB,
       true,
       {u"A", u"B"}},
      {"result code with blanks", "<result-code> ok</result-code>" + filesAB, false, {}},
      {"no files", "<result-code>ok</result-code>", false, {}},
      {"empty files", "<result-code>ok</result-code><files/>", true, {}},
      {"last files counts",
       "<files>" + entry("<name>Old</name>") + "</files>" + filesAB,
       true,
       {u"A", u"B"}},
      {"prefixed files is another element",
       "<k:files xmlns:k=\"urn:k\">" + entry("<name>A</name>") + "</k:files>",
       false,
       {}},
      {"prefixed name is another element",
       "<files>" + entry("<k:name xmlns:k=\"urn:k\">A</k:name>") + "</files>",
       true,
       {}},
      {"entry without a name is skipped",
       "<files>" + entry("<password>true</password>") + entry("<name>B</name>") + "</files>",
       true,
       {u"B"}},
      {"last name counts",
       "<files>" + entry("<name>A</name><name>Z</name>") + "</files>",
       true,
       {u"Z"}},
      {"empty name element gives an empty name",
       "<files>" + entry("<name/>") + "</files>",
       true,
       {u""}},
      {"entries of any element name",
       "<files><folder><name>A</name></folder><x><name>B</name></x></files>",
       true,
       {u"A", u"B"}},
      {"comments and text among entries are not entries",
       "<files><!-- A -->text" + entry("<name>B</name>") + "<?pi x?></files>",
       true,
       {u"B"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const auto parse = parseFolderListAnswer(answerWith(c.children));
    EXPECT_TRUE(parse.documentRead);
    EXPECT_EQ(parse.ok, c.ok);
    EXPECT_EQ(names(parse), c.names);
    for (const auto& folder : parse.folders) EXPECT_FALSE(folder.add);
  }
}

TEST(FolderListParserTest, ResponseElementIsFoundByPosition) {
  const std::string files =
      "<result-code>ok</result-code><files>" + entry("<name>A</name>") + "</files>";
  // Any names along the way; the last child at each step.
  auto parse = parseFolderListAnswer("<a><header/><b><ignored/><resp>" + files + "</resp></b></a>");
  EXPECT_TRUE(parse.ok);
  EXPECT_EQ(names(parse), std::vector<std::u16string>{u"A"});

  // A trailing comment in the body is its last child: no response element.
  parse = parseFolderListAnswer("<a><b><resp>" + files + "</resp><!-- end --></b></a>");
  EXPECT_TRUE(parse.documentRead);
  EXPECT_FALSE(parse.ok);
  EXPECT_TRUE(parse.folders.empty());

  // Too shallow.
  for (const char* shallow : {"<a/>", "<a><b/></a>", "<a><b><resp/></b></a>", "<a>text</a>"}) {
    SCOPED_TRACE(shallow);
    parse = parseFolderListAnswer(shallow);
    EXPECT_TRUE(parse.documentRead);
    EXPECT_FALSE(parse.ok);
  }
}

TEST(FolderListParserTest, NamesKeepTheirText) {
  const auto parse = parseFolderListAnswer(
      answerWith("<files>" + entry("<name>B\xC3\xBCro \xE6\x97\xA5\xE6\x9C\xAC</name>") +
                 entry("<name>R&amp;D &lt;1&gt;</name>") + entry("<name><![CDATA[<x>]]></name>") +
                 entry("<name>a<!-- c -->b</name>") + entry("<name> spaced </name>") + "</files>"));
  EXPECT_EQ(names(parse), (std::vector<std::u16string>{u"B\u00FCro \u65E5\u672C", u"R&D <1>",
                                                       u"<x>", u"ab", u" spaced "}));
}

TEST(FolderListParserTest, PrettyPrintedAnswerFromThePrinterReads) {
  const auto parse = parseFolderListAnswer(test::folderListAnswer(test::numberedFolders(5)));
  EXPECT_TRUE(parse.ok);
  EXPECT_EQ(parse.folders.size(), 5u);
  EXPECT_EQ(parse.folders[0].name, u"Folder 000001");
  EXPECT_TRUE(parse.folders[0].password);
  EXPECT_FALSE(parse.folders[1].password);
}

// Entries are read as the answer is parsed; what lies between them, and how
// many there are, changes nothing.
TEST(FolderListParserTest, LongListsReadEveryEntryInOrder) {
  const char* separators[] = {"", "\n  ", "<!-- c -->", "text", " <?pi x?> "};
  for (const char* separator : separators) {
    SCOPED_TRACE(std::string("separator '") + separator + "'");
    std::string files = std::string("<files>") + separator;
    FolderList expected;
    for (int i = 0; i < 5000; ++i) {
      const std::string name = "F" + std::to_string(i);
      const bool locked = i % 7 == 0;
      files +=
          entry("<name>" + name + "</name><password>" + (locked ? "true" : "no") + "</password>") +
          separator;
      expected.push_back({std::u16string(name.begin(), name.end()), locked, false, false});
    }
    const auto parse = parseFolderListAnswer(
        "<s:Envelope xmlns:s=\"urn:s\">\n <s:Body>\n  <r>\n   <result-code>ok</result-code>" +
        files + "</files>\n  </r>\n </s:Body>\n</s:Envelope>");
    EXPECT_TRUE(parse.ok);
    EXPECT_EQ(parse.folders, expected);
  }
}

TEST(FolderListParserTest, UnreadableDocumentsAreNotRead) {
  std::string deep;
  for (int i = 0; i < 100000; ++i) deep += "<d>";
  for (int i = 0; i < 100000; ++i) deep += "</d>";
  const std::string oversized = answerWith(
      "<files>" + entry("<name>" + std::string(17u << 20, 'x') + "</name>") + "</files>");
  for (const std::string& xml :
       {std::string(), std::string("   "), std::string("<a><b>"), std::string("not xml"),
        std::string("<a></b>"), std::string("<a>\xFF\xFE</a>"), deep, oversized}) {
    SCOPED_TRACE(xml.substr(0, 20));
    const auto parse = parseFolderListAnswer(xml);
    EXPECT_FALSE(parse.documentRead);
    EXPECT_FALSE(parse.ok);
    EXPECT_TRUE(parse.folders.empty());
  }
}

// What the code under test writes to standard error, read back from a file.
class StderrCapture {
 public:
  StderrCapture() {
    std::fflush(stderr);
    saved_ = ::dup(2);
    std::FILE* file = std::tmpfile();
    file_ = file;
    ::dup2(::fileno(file), 2);
  }
  ~StderrCapture() { restore(); }
  std::string text() {
    restore();
    std::string out;
    std::rewind(file_);
    for (int c; (c = std::fgetc(file_)) != EOF;) out += static_cast<char>(c);
    return out;
  }

 private:
  void restore() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, 2);
    ::close(saved_);
    saved_ = -1;
  }
  int saved_ = -1;
  std::FILE* file_ = nullptr;
};

// Bytes that the declared encoding cannot decode make the answer unreadable,
// wherever they stand, and the parser says nothing about them.
TEST(FolderListParserTest, UndecodableAnswersAreUnreadableAndSilent) {
  const std::string list =
      "<a><b><c><result-code>ok</result-code><files><f><name>x</name></f></files></c></b></a>";
  const std::string cases[] = {
      "<?xml version=\"1.0\" encoding=\"Shift_JIS\"?>" +
          answerWith("<files>" + entry("<name>\x81\x20</name>") + "</files>"),
      "<?xml version=\"1.0\" encoding=\"EUC-JP\"?>" + list + "\xFF\xFF",
      "<?xml version=\"1.0\" encoding=\"EUC-JP\"?>" + list + "<!-- \xFF\xFF -->",
      "<?xml version=\"1.0\" encoding=\"ISO-2022-JP\"?><a>\x1B$B\xFF\xFF</a>",
      "<a>\xFF\xFE</a>",
  };
  for (const std::string& xml : cases) {
    SCOPED_TRACE(xml.substr(0, 50));
    StderrCapture capture;
    const auto parse = parseFolderListAnswer(xml);
    EXPECT_EQ(capture.text(), "");
    EXPECT_FALSE(parse.documentRead);
    EXPECT_FALSE(parse.ok);
    EXPECT_TRUE(parse.folders.empty());
  }
}

// No entity declared in the document may ever reach a folder's name.
TEST(FolderListParserTest, EntitiesAreNeverExpanded) {
  const std::string body = "<s:Body><r><result-code>ok</result-code><files>";
  const std::string tail = "</files></r></s:Body></s:Envelope>";
  const std::string laughs =
      "<!DOCTYPE s:Envelope [<!ENTITY lol \"lol\">"
      "<!ENTITY lol1 \"&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;&lol;\">"
      "<!ENTITY lol2 \"&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;&lol1;\">"
      "<!ENTITY lol3 \"&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;&lol2;\">"
      "<!ENTITY lol4 \"&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;&lol3;\">"
      "<!ENTITY lol5 \"&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;&lol4;\">"
      "<!ENTITY lol6 \"&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;&lol5;\">"
      "<!ENTITY lol7 \"&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;&lol6;\">"
      "<!ENTITY lol8 \"&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;&lol7;\">"
      "<!ENTITY lol9 \"&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;&lol8;\">]>";
  const std::string envelope = "<s:Envelope xmlns:s=\"urn:s\">";
  const std::string cases[] = {
      laughs + envelope + body + "<f><name>a&lol9;</name></f><f><name>b</name></f>" + tail,
      laughs + envelope + body + "<f><name>a&lol3;</name></f><f><name>b&lol;</name></f>" + tail,
      "<!DOCTYPE s:Envelope [<!ENTITY xxe SYSTEM \"file:///etc/passwd\">]>" + envelope + body +
          "<f><name>a&xxe;</name></f>" + tail,
      "<!DOCTYPE s:Envelope [<!ENTITY inj \"INJECTED\">]>" + envelope + body +
          "<f><name>a&inj;b</name><password>&inj;</password></f>" + tail,
      // The response element itself reached through an entity reference.
      "<!DOCTYPE s:Envelope [<!ENTITY resp "
      "\"<r><files><f><name>INJECTED</name></f></files></r>\">]>" +
          envelope + "<s:Body>&resp;</s:Body></s:Envelope>",
      "<!DOCTYPE s:Envelope SYSTEM \"file:///etc/passwd\">" + envelope + body +
          "<f><name>c</name></f>" + tail,
  };
  for (const std::string& xml : cases) {
    SCOPED_TRACE(xml.substr(0, 60));
    const auto parse = parseFolderListAnswer(xml);
    for (const auto& folder : parse.folders) {
      EXPECT_EQ(folder.name.find(u"lol"), std::u16string::npos);
      EXPECT_EQ(folder.name.find(u"INJECTED"), std::u16string::npos);
      EXPECT_EQ(folder.name.find(u"root"), std::u16string::npos);
      EXPECT_LE(folder.name.size(), 2u);
      EXPECT_FALSE(folder.password);
    }
  }
}

TEST(FolderListParserTest, ReadsTheResponseFile) {
  char pattern[] = "/tmp/jc-parser-XXXXXX";
  ASSERT_NE(mkdtemp(pattern), nullptr);
  const std::filesystem::path dir = pattern;
  const auto file = dir / "vwxyz.xml";

  EXPECT_FALSE(parseFolderListFile(file).documentRead);  // missing
  EXPECT_FALSE(parseFolderListFile(dir).documentRead);   // a folder
  std::ofstream(file, std::ios::binary) << "";
  EXPECT_FALSE(parseFolderListFile(file).documentRead);  // empty answer
  std::ofstream(file, std::ios::binary) << folderListAnswer({{"A", true, false}});
  const auto parse = parseFolderListFile(file);
  EXPECT_TRUE(parse.ok);
  EXPECT_EQ(parse.folders, (FolderList{{u"A", true, false, false}}));
  if (geteuid() != 0) {  // root reads anything
    std::filesystem::permissions(file, std::filesystem::perms::none);
    EXPECT_FALSE(parseFolderListFile(file).documentRead);
  }
  std::filesystem::remove_all(dir);
}

TEST(MyGetChildTest, AnswersTheLastChildOfElementsOnly) {
  const std::string xml =
      "<!DOCTYPE a [<!ENTITY e \"<x/>\">]><a><b/>text<c>&e;</c><!-- last --></a>";
  xmlDoc* doc = xmlReadMemory(xml.data(), static_cast<int>(xml.size()), nullptr, nullptr,
                              XML_PARSE_NONET | XML_PARSE_NOERROR | XML_PARSE_NOWARNING);
  ASSERT_NE(doc, nullptr);
  xmlNode* root = xmlDocGetRootElement(doc);
  EXPECT_EQ(MyGetChild(nullptr), nullptr);
  xmlNode* last = MyGetChild(root);
  ASSERT_NE(last, nullptr);
  EXPECT_EQ(last->type, XML_COMMENT_NODE);
  EXPECT_EQ(MyGetChild(last), nullptr);
  xmlNode* c = last->prev;
  ASSERT_NE(c, nullptr);
  xmlNode* reference = MyGetChild(c);
  ASSERT_NE(reference, nullptr);
  EXPECT_EQ(reference->type, XML_ENTITY_REF_NODE);
  EXPECT_EQ(MyGetChild(reference), nullptr);       // the entity's text is not its child
  EXPECT_EQ(MyGetChild(c->prev), nullptr);         // a text node
  EXPECT_EQ(MyGetChild(root->children), nullptr);  // <b/>
  xmlFreeDoc(doc);
}

}  // namespace
}  // namespace jc
