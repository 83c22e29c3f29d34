#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "XmlTestUtil.h"
#include "xml/Xml.h"

using namespace xmltest;

namespace {

// Reads Text into a fresh document and returns its picture.
std::string Read(const std::string& Text, TXmlSpace Mode = xsDefault, bool Normalize = false) {
  TXmlFile File;
  TXmlReader(Mode, Normalize).Parse(Text, File);
  return Describe(File);
}

struct TPositionedError {
  const char* Name;
  std::string Text;
  std::string Message;
  int Line;
  int Column;
  std::string LineText;
};

void ExpectPositionedError(const TPositionedError& Case) {
  SCOPED_TRACE(Case.Name);
  TXmlFile File;
  try {
    TXmlReader(xsDefault, false).Parse(Case.Text, File);
    ADD_FAILURE() << "no error";
  } catch (const EXmlException& E) {
    EXPECT_EQ(E.what(), Case.Message);
    EXPECT_EQ(E.Line, Case.Line);
    EXPECT_EQ(E.Column, Case.Column);
    EXPECT_EQ(E.LineText, Case.LineText);
  }
}

// The nesting depth of the first element chain below Container.
int Depth(const TXmlElementContainer& Container) {
  int Result = 0;
  for (const TXmlNode* Node = Container.Elements().FirstOf<TXmlNode>(); Node;
       Node = Node->Elements().FirstOf<TXmlNode>())
    ++Result;
  return Result;
}

std::string Repeat(const std::string& Text, int Count) {
  std::string Result;
  for (int I = 0; I < Count; ++I) Result += Text;
  return Result;
}

const std::string kEof = "Unexpected end of file!";

}  // namespace

TEST(XmlReader, ReportsSyntaxErrorsWithMessageAndPosition) {
  const std::vector<TPositionedError> Cases = {
      {"end after a start tag", "<a>", kEof, 1, 3, "<a>"},
      {"end inside text", "<a>text", kEof, 1, 7, "<a>text"},
      {"end after a child", "<a><b/>", kEof, 1, 7, "<a><b/>"},
      {"end on a line break", "<a>\r\n", kEof, 1, 5, "<a>  "},
      {"end before an attribute value", "<a b=\r\n", kEof, 1, 7, "<a b=  "},
      {"end tag at document level", "</a>", "Unknown tag found!", 1, 2, "</a>"},
      {"blank after <", "<a>< b/></a>", "Unknown tag found!", 1, 5, "<a>< b/></a>"},
      {"doctype", "<!DOCTYPE greeting SYSTEM \"hello.dtd\">", "Unknown or invalid node type!", 1, 2,
       "<!DOCTYPE greeting SYSTEM \"hello.dtd\">"},
      {"> in text", "<a>1 > 0</a>", "Invalid character found!", 1, 6, "<a>1 > 0</a>"},
      {"< in a value", "<a b=\"x<y\"/>", "Invalid character found!", 1, 8, "<a b=\"x<y\"/>"},
      {"end tag starting with a digit", "<a></1a>", "Invalid start character in XML-element!", 1, 6,
       "<a></1a>"},
      {"blank before an end tag name", "<a></ a>", "Invalid start character in XML-element!", 1, 6,
       "<a></ a>"},
      {"target starting with a digit", "<?1x?>", "Invalid start character in XML-element!", 1, 3, "<?1x?>"},
      {"tag name followed by =", "<a=\"1\"/>", "Invalid character in XML tag name!", 1, 3, "<a=\"1\"/>"},
      {"target without data", "<?target?>", "Invalid character in XML tag name!", 1, 9, "<?target?>"},
      {"attribute without =", "<a b/>", "Invalid character in XML attribute!", 1, 5, "<a b/>"},
      {"two names", "<a b c=\"1\"/>", "Invalid character in XML attribute!", 1, 6, "<a b c=\"1\"/>"},
      {"unquoted value", "<a b=1/>", "Invalid character in XML attribute value!", 1, 6, "<a b=1/>"},
      {"missing value", "<a b= >", "Invalid character in XML attribute value!", 1, 7, "<a b= >"},
      {"unknown entity", "<a>&foo;</a>", "Unknown entity!", 1, 8, "<a>&foo;</a>"},
      {"entity names are case-sensitive", "<a>&AMP;</a>", "Unknown entity!", 1, 8, "<a>&AMP;</a>"},
      {"no digits", "<a>&#;</a>", "Invalid entity!", 1, 6, "<a>&#;</a>"},
      {"upper-case X is not hexadecimal", "<a>&#X41;</a>", "Invalid entity!", 1, 9, "<a>&#X41;</a>"},
      {"bad hexadecimal digit in a value", "<a b=\"&#xG;\"/>", "Invalid entity!", 1, 11, "<a b=\"&#xG;\"/>"},
      {"error inside a later line", "<r>\r\n\t<a b=1/>\r\n</r>", "Invalid character in XML attribute value!", 2,
       7, "\t<a b=1/>"},
  };
  for (const auto& Case : Cases) ExpectPositionedError(Case);
}

TEST(XmlReader, CountsEachRunOfLineBreaksAsOneLine) {
  const std::string Message = "Invalid character found!";
  const std::vector<TPositionedError> Cases = {
      {"CR LF", "<r>\r\n<a/>\r\n1 > 0</r>", Message, 3, 3, "1 > 0</r>"},
      {"CR LF with a blank line", "<r>\r\n\r\n<a/>\r\n1 > 0</r>", Message, 3, 3, "1 > 0</r>"},
      {"LF with blank lines", "<r>\n\n\n<a/>\n1 > 0</r>", Message, 3, 3, "1 > 0</r>"},
      {"CR", "<r>\r<a/>\r\r1 > 0</r>", Message, 3, 3, "1 > 0</r>"},
      {"indented", "<r>\n  <a/>\n  x > 0\n</r>", Message, 3, 5, "  x > 0"},
  };
  for (const auto& Case : Cases) ExpectPositionedError(Case);
}

TEST(XmlReader, ReportsTheEndOfTextOnTheLastLine) {
  // Where exactly the end is met differs by construct; it is always on the
  // one line, and the line text is the whole line.
  for (const std::string Text : {"<", "<a", "<a>x</a", "<a></", "<a>&amp", "<a b=\"x", "<!-- open",
                                 "<a><![CDATA[x]]", "<?t data", "<?xml version=\"1.0\"", "<a><!-- x --"}) {
    SCOPED_TRACE(Text);
    TXmlFile File;
    try {
      TXmlReader(xsDefault, false).Parse(Text, File);
      ADD_FAILURE() << "no error";
    } catch (const EXmlException& E) {
      EXPECT_EQ(E.what(), kEof);
      EXPECT_EQ(E.Line, 1);
      EXPECT_GE(E.Column, 1);
      EXPECT_LE(E.Column, static_cast<int>(Text.size()));
      EXPECT_EQ(E.LineText, Text);
    }
  }
}

TEST(XmlReader, ReportsStructureErrorsWithoutPosition) {
  const std::string Unexpected = "Unexpected/invalid character found!";
  const std::string Mismatch = "Identifier of closing tag does not match identifier of opening tag!";
  const std::string Expected = "Invalid character found! Expected \">\".";
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"<a $>", Unexpected},
      {"<a/ >", Unexpected},
      {"<a b=\"1\"/x>", Unexpected},
      {"<?xml version=\"1.0\" 1?>", Unexpected},
      {"<?xml-stylesheet href=\"a\" ?x>", Unexpected},
      {"<a></b>", Mismatch},
      {"<a></A>", Mismatch},
      {"<a><b></a></b>", Mismatch},
      {"<a></a x>", Expected},
      {"<a></a/>", Expected},
      {"<?xml version=\"1.0\" standalone=\"Yes\"?>",
       "Invalid attribute for XML-Declaration attribute \"standalone\"!"},
      {"<?xml version=\"1.0\" Encoding=\"x\"?>", "Invalid/unknown attribute (\"Encoding\") inside XML-Declaration!"},
      {"<?xml-stylesheet media=\"screen\"?>",
       "Invalid/unknown attribute (\"media\") inside XML-Stylesheet-Declaration!"},
  };
  for (const auto& [Text, Message] : Cases) {
    SCOPED_TRACE(Text);
    ExpectXmlError([&] { Read(Text); }, Message);
  }
}

TEST(XmlReader, RefusesWhatTheDocumentCannotHoldAfterReadingWhatCameBefore) {
  // Each text with the document as it stands when the error is raised.
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"<a><c/></a><b/>", "E(a)[E(c)]"},
      {"<?xml version=\"1.0\"?><?xml version=\"1.1\"?>", "D(1.0,0,,yes)"},
      {"<a/><![CDATA[x]]>", "E(a)"},
      {"<a><?xml version=\"1.0\"?></a>", "E(a)"},
      {"<a><b/><?xml-stylesheet href=\"x\"?></a>", "E(a)[E(b)]"},
  };
  for (const auto& [Text, Before] : Cases) {
    SCOPED_TRACE(Text);
    TXmlFile File;
    ExpectAddRefused([&] { TXmlReader(xsDefault, false).Parse(Text, File); });
    EXPECT_EQ(Describe(File), Before);
  }
}

TEST(XmlReader, KeepsWhatWasReadBeforeAnError) {
  TXmlFile File;
  EXPECT_THROW(TXmlReader(xsDefault, false).Parse("<r><a x=\"1\"/><b>t</r>", File), EXmlException);
  EXPECT_EQ(Describe(File), "E(r)[E(a x=\"1\"),E(b)[T\"t\"]]");
}

TEST(XmlReader, ReadsElementsAttributesAndText) {
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"<a>  <b/>  </a>", "E(a)[E(b)]"},
      {"<a> x </a>", "E(a)[T\" x \"]"},
      {"<a>x\r\ny\t</a>", "E(a)[T\"x\r\ny\t\"]"},
      {"<Key></Key>", "E(Key)"},
      {"<Key/>", "E(Key)"},
      {"<a>x &amp; y &#65;&#x42;</a>", "E(a)[T\"x & y AB\"]"},
      {"<a>&lt;&gt;&amp;&quot;&apos;&#x141;&#0066;&#x3c;</a>", "E(a)[T\"<>&\"'AB<\"]"},
      {"<a b='it\"s' c=\"it's\"/>", "E(a b=\"it\"s\" c=\"it's\")"},
      {"<a x=\"1\" y='2'z=\"3\" x=\"4\"/>", "E(a x=\"1\" y=\"2\" z=\"3\" x=\"4\")"},
      {"<a v = \"&lt;\t\r\n&#9;\" w=''/>", "E(a v=\"<\t\r\n\t\" w=\"\")"},
      {"<a\n\tb=\"1\"\r\n/>", "E(a b=\"1\")"},
      {"<a></a \r\n>", "E(a)"},
      {"<_a-1.b:c/>", "E(_a-1.b:c)"},
      {"<a><b/>x<!--c--><?p d?></a>", "E(a)[E(b),T\"x\",!\"c\",?p\"d\"]"},
      {"<a>x<![CDATA[y]]>z</a>", "E(a)[T\"x\",C\"y\",T\"z\"]"},
      {"<a xml:space=\"preserve\" xml:lang=\"de\"> </a>", "E(a xml:space=\"preserve\" xml:lang=\"de\")"},
      {"\xEF\xBB\xBFjunk > & ]]> <a/> trailing & text", "E(a)"},
      {"<a>\xC3\xA4\xFF</a>", "E(a)[T\"\xC3\xA4\xFF\"]"},
  };
  for (const auto& [Text, Tree] : Cases) {
    SCOPED_TRACE(Text);
    EXPECT_EQ(Read(Text), Tree);
  }
}

TEST(XmlReader, NumericReferencesKeepTheLowEightBits) {
  TXmlFile File;
  TXmlReader(xsDefault, false).Parse("<a>&#x;|&#256;|&#x100;|&#321;|&#xFF;</a>", File);
  EXPECT_EQ(File.RootNode()->Text(), std::string("\0|\0|\0|A|\xFF", 9));
}

TEST(XmlReader, ReadsCommentsCDataAndInstructionsUpToTheirTerminators) {
  const std::vector<std::pair<std::string, std::string>> Cases = {
      {"<!-- a - b -- c -->", "!\" a - b -- c \""},
      {"<!---->", "!\"\""},
      {"<!-- x --->", "!\" x -\""},
      {"<a><![CDATA[<&amp;]]]></a>", "E(a)[C\"<&amp;]\"]"},
      {"<a><![CDATA[]]></a>", "E(a)[C\"\"]"},
      {"<a><![CDATA[ ]]></a>", "E(a)[C\" \"]"},
      {"<?target some data ?>", "?target\"some data \""},
      {"<?t a?b ?>", "?t\"a?b \""},
      {"<?t \t\r\nx\r\n?>", "?t\"x\r\n\""},
      {"<?t ?>", "?t\"\""},
      {"<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"yes\"?>", "D(1.0,1,,yes)"},
      {"<?xml version=\"1.0\"?>", "D(1.0,0,,yes)"},
      {"<?xml version='1.1' standalone='no' encoding='UTF-8' ?>", "D(1.1,2,UTF-8,no)"},
      {"<?xml-stylesheet type=\"text/xsl\" href=\"s.xsl\"?>", "S(1,,s.xsl)"},
      {"<?xml-stylesheet href=\"a&amp;b\"type=\"x/y\"?>", "S(3,x/y,a&b)"},
  };
  for (const auto& [Text, Tree] : Cases) {
    SCOPED_TRACE(Text);
    EXPECT_EQ(Read(Text), Tree);
  }
}

TEST(XmlReader, DropsWhitespaceOnlyTextOnlyInDefaultMode) {
  const std::string Text = "<a> <b>\t</b>\r\n</a>";
  EXPECT_EQ(Read(Text, xsDefault), "E(a)[E(b)]");
  EXPECT_EQ(Read(Text, xsPreserve), "E(a)[T\" \",E(b)[T\"\t\"],T\"\r\n\"]");
  EXPECT_EQ(Read(Text, xsNone), "E(a)[T\" \",E(b)[T\"\t\"],T\"\r\n\"]");
}

TEST(XmlReader, TakesTheWhitespaceModeFromTheContainerReadInto) {
  TXmlNode Preserving("p");
  Preserving.XmlSpace = xsPreserve;
  TXmlReader(xsDefault, false).Parse("<b> </b>", Preserving);
  EXPECT_EQ(Describe(Preserving), "E(p)[E(b)[T\" \"]]");

  TXmlNode Outer("o");
  Outer.XmlSpace = xsDefault;
  auto& Inner = Outer.Elements().AddNew<TXmlNode>("i");
  TXmlReader(xsPreserve, false).Parse("<b> </b>", Inner);
  EXPECT_EQ(Describe(Outer), "E(o)[E(i)[E(b)]]");
}

TEST(XmlReader, NormalizesLineBreaksWhenAsked) {
  EXPECT_EQ(Read("<a v=\"1\r\n2\r3\n4\">x\r\ny\rz\r\n<![CDATA[\r\r\n]]></a><!--\r-->", xsDefault, true),
            "E(a v=\"1\n2\n3\n4\")[T\"x\ny\nz\n\",C\"\n\n\"] !\"\n\"");
}

TEST(XmlReader, ReadsAThousandNestedElements) {
  TXmlFile File;
  TXmlReader(xsDefault, false).Parse(Repeat("<a>", 1000) + "x" + Repeat("</a>", 1000), File);
  EXPECT_EQ(Depth(File), 1000);
}

TEST(XmlReader, RefusesTheThousandAndFirstNestedElementAtItsName) {
  const std::string Message = "Maximum nesting depth of XML-elements exceeded!";
  const std::string Flat = Repeat("<a>", 1000) + "<b/>" + Repeat("</a>", 1000);
  ExpectPositionedError({"on one line", Flat, Message, 1, 3002, Flat});
  ExpectPositionedError({"one per line", Repeat("<a>\n", 1001), Message, 1001, 2, "<a>"});
  ExpectPositionedError({"after siblings", "<r>" + Repeat("<s/>", 5) + Repeat("<a>", 999) + "<z>", Message, 1,
                         3 + 5 * 4 + 999 * 3 + 2, "<r>" + Repeat("<s/>", 5) + Repeat("<a>", 999) + "<z>"});
  // Nothing of the refused element was added.
  TXmlFile File;
  EXPECT_THROW(TXmlReader(xsDefault, false).Parse(Flat, File), EXmlException);
  EXPECT_EQ(Depth(File), 1000);
  const TXmlElementContainer* Deepest = &File;
  while (auto* Child = Deepest->Elements().FirstOf<TXmlNode>()) Deepest = Child;
  EXPECT_EQ(Deepest->Elements().Count(), 0);
}

TEST(XmlReader, ReadsBackWhatTheWriterWrote) {
  TXmlFile File;
  File.Elements().AddNew<TXmlComment>(" settings ");
  auto& Stylesheet = File.Elements().AddNew<TXmlStylesheetReference>();
  Stylesheet.StylesheetType = stXsl;
  Stylesheet.Href = "view.xsl";
  auto& Declaration = File.Elements().AddNew<TXmlDeclaration>(xeCustom);
  Declaration.EncodingName = "UTF-8";
  Declaration.Standalone = false;
  auto& Root = File.Elements().AddNew<TXmlNode>("root");
  Root.Attributes.Add("v", "<&>\"'\t\r\n");
  Root.Attributes.Add("v", "second");
  Root.Elements().AddNew<TXmlNode>("text", " a\r\n<b>&c; ");
  Root.Elements().AddNew<TXmlNode>("empty", "");
  auto& Mixed = Root.Elements().AddNew<TXmlNode>("mixed", "lead");
  Mixed.Elements().AddNew<TXmlNode>("in", "x");
  Mixed.Elements().AddNew<TXmlText>("]]>");
  Root.Elements().AddNew<TXmlText>("cdata <&>").IsCData = true;
  auto& Instruction = Root.Elements().AddNew<TXmlProcessingInstruction>();
  Instruction.Target = "pi";
  Instruction.Data = "a ? b";
  Root.Elements().AddNew<TXmlComment>("-");

  const std::string Written = File.GetXml();
  TXmlFile Again;
  TXmlReader(xsDefault, false).Parse(Written, Again);
  EXPECT_EQ(Describe(Again),
            "D(1.0,2,UTF-8,no) !\" settings \" S(1,,view.xsl) "
            "E(root v=\"<&>\"'\t\r\n\" v=\"second\")[E(text)[T\" a\r\n<b>&c; \"],E(empty),"
            "E(mixed)[T\"lead\",E(in)[T\"x\"],T\"]]>\"],C\"cdata <&>\",?pi\"a ? b\",!\"-\"]");
  // The empty text alone does not come back, so that element shrinks to an
  // empty-element tag; everything else is written identically.
  std::string Expected = Written;
  Expected.replace(Expected.find("<empty></empty>"), 15, "<empty/>");
  EXPECT_EQ(Again.GetXml(), Expected);
}
