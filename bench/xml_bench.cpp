// Reads and writes a settings-shaped document of about 10 MB with the XML
// library and, for comparison, with Qt's QXmlStreamReader/QXmlStreamWriter
// building and writing a plain tree of their own.
//
// Every benchmark reports the size of the generated document as bytes
// processed, so the MB/s figures of the four compare directly (the ratio of
// two figures is the inverse ratio of their times). The Qt writer's output
// is slightly shorter (LF line ends, its own declaration); its size is shown
// as the counter "OutputBytes".
//
// Extra flag: --document_kb=N generates a document of about N KiB instead of
// 10 MiB (handy for running under a profiler).

#include <benchmark/benchmark.h>

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>
#include <QXmlStreamWriter>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "xml/Xml.h"

namespace {

// ---------------------------------------------------------------------------
// Document generator

// A small deterministic generator, so every run benchmarks the same bytes.
class TRandom {
 public:
  uint32_t Next() {
    FState ^= FState << 13;
    FState ^= FState >> 7;
    FState ^= FState << 17;
    return static_cast<uint32_t>(FState >> 32);
  }
  int Below(int N) { return static_cast<int>(Next() % static_cast<uint32_t>(N)); }
  template <size_t N>
  const char* Pick(const char* const (&Items)[N]) { return Items[Below(N)]; }

 private:
  uint64_t FState = 0x9E3779B97F4A7C15ull;
};

// Emits text in the writer's default layout: CR LF after every line, one TAB
// per level, an element with text on one line, an element without content as
// an empty-element tag. Only what the generator needs; values are escaped the
// way the writer escapes them.
class TLayoutEmitter {
 public:
  std::string Text;

  void Declaration() {
    Text += "<?xml version=\"1.0\" encoding=\"windows-1252\" standalone=\"yes\"?>\r\n";
  }
  // Starts an element; finish its start tag with Open(), Empty() or TextLine().
  TLayoutEmitter& Start(std::string_view Name) {
    Text.append(FDepth, '\t');
    Text += '<';
    Text += Name;
    return *this;
  }
  TLayoutEmitter& Attr(std::string_view Name, std::string_view Value) {
    Text += ' ';
    Text += Name;
    Text += "=\"";
    Escaped(Value);
    Text += '"';
    return *this;
  }
  TLayoutEmitter& Attr(std::string_view Name, int Value) { return Attr(Name, std::to_string(Value)); }
  // The element has element children, each on a line of its own.
  void Open() {
    Text += ">\r\n";
    ++FDepth;
  }
  void Close(std::string_view Name) {
    --FDepth;
    Text.append(FDepth, '\t');
    EndTag(Name);
  }
  void Empty() { Text += "/>\r\n"; }
  void TextLine(std::string_view Name, std::string_view Value) {
    Text += '>';
    Escaped(Value);
    EndTag(Name);
  }
  // A whole text-only element.
  // An empty value gives an empty-element tag, which is how the writer writes
  // the element once it has been read back (an empty text is not kept).
  void Leaf(std::string_view Name, std::string_view Value) {
    if (Value.empty())
      Start(Name).Empty();
    else
      Start(Name).TextLine(Name, Value);
  }
  void Leaf(std::string_view Name, int Value) { Leaf(Name, std::to_string(Value)); }

 private:
  void EndTag(std::string_view Name) {
    Text += "</";
    Text += Name;
    Text += ">\r\n";
  }
  void Escaped(std::string_view Value) {
    for (char Ch : Value) {
      switch (Ch) {
        case '&': Text += "&amp;"; break;
        case '<': Text += "&lt;"; break;
        case '>': Text += "&gt;"; break;
        case '"': Text += "&quot;"; break;
        case '\'': Text += "&apos;"; break;
        default: Text += Ch;
      }
    }
  }

  size_t FDepth = 0;
};

const char* const UserNames[] = {"anna", "ben", "chiara", "dmitri", "emeka", "fatima", "gustav"};
const char* const Folders[] = {"Photos", "Holiday 2019 & 2020", "Scans", "Music", "Anna's Camera",
                               "Invoices", "Backup", "Work <old>", "Projects", "Downloads"};
const char* const ProfileNames[] = {"Number photos", "Date prefix", "Lower case", "Strip spaces",
                                    "Episode titles", "Scanner clean-up", "Camera import"};
const char* const SearchTexts[] = {"IMG_*", "DSC?????", "*.JPEG", " - Copy", "[0-9][0-9]",
                                   "Track *", "scan*", "*(1)"};
const char* const ReplaceTexts[] = {"Holiday [C]", "[Y]-[M]-[D] [N]", "[n]", "", "S01E[C]",
                                    "Page [C]", "Import [C] of [T]", "[N]"};
const char* const RuleKinds[] = {"Replace", "Insert", "Delete", "Case", "Counter"};
const char* const Toolbars[] = {"toolbarProfile", "toolbarFileGrid", "toolbarAbout"};
const char* const Docks[] = {"dockWindowTop", "dockWindowTop", "dockWindowBottom", "+", ""};
const char* const Bools[] = {"True", "False"};
const int ColumnWidths[] = {20, 150, 150, 150, 40, 70, 120, 35, 120, 120};

std::string Date(TRandom& R) {
  char Text[16];
  std::snprintf(Text, sizeof Text, "2026-%02d-%02d", 1 + R.Below(12), 1 + R.Below(28));
  return Text;
}

// One block shaped like the program's settings: the file grid's layout,
// toolbars, a few rename rules, the recent profiles and the window.
void EmitWorkspace(TLayoutEmitter& E, TRandom& R, int Index) {
  E.Start("Workspace").Attr("Name", "Workspace " + std::to_string(Index)).Attr("Index", Index)
      .Attr("Created", Date(R))
      .Open();

  E.Start("FileGrid").Open();
  E.Leaf("SortColumn", R.Below(11) - 1);
  E.Leaf("SortDirection", R.Below(2) ? "Ascending" : "Descending");
  E.Start("Columns").Open();
  for (int Column = 0; Column < 10; ++Column) {
    E.Start("Column").Attr("Index", Column).Attr("Width", ColumnWidths[Column] + R.Below(60))
        .Attr("Position", Column).Attr("Visible", R.Below(5) ? "True" : "False").Empty();
  }
  E.Close("Columns");
  E.Close("FileGrid");

  E.Start("Toolbars").Open();
  E.Leaf("ShowToolbarCaptions", R.Pick(Bools));
  for (const char* Toolbar : Toolbars) {
    E.Start(Toolbar).Open();
    E.Leaf("Rev", 2000);
    E.Leaf("Visible", R.Below(2));
    E.Leaf("DockedTo", R.Pick(Docks));
    E.Leaf("LastDock", R.Pick(Docks));
    E.Leaf("DockRow", R.Below(3));
    E.Leaf("DockPos", R.Below(800));
    E.Leaf("FloatLeft", R.Below(1600));
    E.Leaf("FloatTop", R.Below(1000));
    E.Close(Toolbar);
  }
  E.Close("Toolbars");

  E.Start("Rules").Open();
  for (int Rule = 0, Count = 1 + R.Below(4); Rule < Count; ++Rule) {
    E.Start("Rule").Attr("Kind", R.Pick(RuleKinds)).Attr("Enabled", R.Pick(Bools))
        .Attr("Name", R.Pick(ProfileNames)).Open();
    E.Start("Search").Attr("CaseSensitive", R.Pick(Bools)).Attr("Wildcards", R.Pick(Bools))
        .TextLine("Search", R.Pick(SearchTexts));
    E.Leaf("Replace", R.Pick(ReplaceTexts));
    E.Start("Fields").Open();
    for (int Field = 0, Fields = R.Below(3); Field < Fields; ++Field) {
      E.Start("Field").Attr("Name", "Counter").Attr("Start", R.Below(100)).Attr("Step", 1 + R.Below(5))
          .Attr("Digits", 1 + R.Below(4)).TextLine("Field", "[C]");
    }
    E.Leaf("Separator", R.Below(2) ? " - " : "_");
    E.Close("Fields");
    E.Close("Rule");
  }
  E.Close("Rules");

  E.Start("MRUFileList").Open();
  for (int File = 0; File < 3; ++File) {
    E.Leaf("File", std::string("/home/") + R.Pick(UserNames) + "/Profiles/" + R.Pick(Folders) + "/" +
                       R.Pick(ProfileNames) + ".qrp");
  }
  E.Close("MRUFileList");

  E.Start("Window").Open();
  E.Leaf("WindowWidth", 800 + R.Below(1120));
  E.Leaf("WindowHeight", 600 + R.Below(600));
  if (R.Below(4) == 0) E.Leaf("WindowState", "Maximized");
  E.Close("Window");

  E.Close("Workspace");
}

std::string GenerateDocument(size_t TargetBytes) {
  TLayoutEmitter E;
  TRandom R;
  E.Declaration();
  E.Start("Quorvane").Attr("applicationVersion", "1.9.0.0").Attr("settingsVersion", "2.0.0.0").Open();
  for (int Index = 0; E.Text.size() < TargetBytes; ++Index) EmitWorkspace(E, R, Index);
  E.Close("Quorvane");
  return std::move(E.Text);
}

// ---------------------------------------------------------------------------
// The comparison tree for Qt: what QXmlStreamReader hands over, kept as is.

struct TQtNode {
  QString Name;
  std::vector<std::pair<QString, QString>> Attributes;
  QString Text;  // all non-whitespace character data, joined
  std::vector<TQtNode> Children;

  bool operator==(const TQtNode&) const = default;
};

struct TQtDocument {
  QString Version;
  QString Encoding;
  bool Standalone = false;
  TQtNode Root;
};

// Reads the whole text into a TQtDocument; drops whitespace-only character
// data as the library's reader does in its default mode. Returns false on a
// parse error.
bool QtRead(const QByteArray& Bytes, TQtDocument& Doc, QString* Error = nullptr) {
  QXmlStreamReader Reader(Bytes);
  Reader.setNamespaceProcessing(false);
  std::vector<TQtNode*> Open;  // innermost last; only its Children grows
  bool HaveRoot = false;
  while (!Reader.atEnd()) {
    switch (Reader.readNext()) {
      case QXmlStreamReader::StartDocument:
        Doc.Version = Reader.documentVersion().toString();
        Doc.Encoding = Reader.documentEncoding().toString();
        Doc.Standalone = Reader.isStandaloneDocument();
        break;
      case QXmlStreamReader::StartElement: {
        TQtNode* Node;
        if (!Open.empty()) {
          Node = &Open.back()->Children.emplace_back();
        } else if (!HaveRoot) {
          Node = &Doc.Root;
          HaveRoot = true;
        } else {
          Reader.raiseError(QStringLiteral("second root element"));
          break;
        }
        Node->Name = Reader.qualifiedName().toString();
        const QXmlStreamAttributes Attributes = Reader.attributes();
        Node->Attributes.reserve(Attributes.size());
        for (const QXmlStreamAttribute& Attribute : Attributes)
          Node->Attributes.emplace_back(Attribute.qualifiedName().toString(), Attribute.value().toString());
        Open.push_back(Node);
        break;
      }
      case QXmlStreamReader::EndElement:
        Open.pop_back();
        break;
      case QXmlStreamReader::Characters:
        if (!Open.empty() && !Reader.isWhitespace()) Open.back()->Text += Reader.text();
        break;
      default:
        break;
    }
  }
  if (Reader.hasError()) {
    if (Error) *Error = Reader.errorString();
    return false;
  }
  return true;
}

void QtWriteNode(QXmlStreamWriter& Writer, const TQtNode& Node) {
  if (Node.Children.empty() && Node.Text.isEmpty()) {
    Writer.writeEmptyElement(Node.Name);
  } else {
    Writer.writeStartElement(Node.Name);
  }
  for (const auto& [Name, Value] : Node.Attributes) Writer.writeAttribute(Name, Value);
  if (Node.Children.empty() && Node.Text.isEmpty()) return;
  if (!Node.Text.isEmpty()) Writer.writeCharacters(Node.Text);
  for (const TQtNode& Child : Node.Children) QtWriteNode(Writer, Child);
  Writer.writeEndElement();
}

// The whole document as text, formatted with one TAB per level.
QByteArray QtWrite(const TQtDocument& Doc) {
  QByteArray Output;
  QXmlStreamWriter Writer(&Output);
  Writer.setAutoFormatting(true);
  Writer.setAutoFormattingIndent(-1);  // one TAB per level
  Writer.writeStartDocument(Doc.Version, Doc.Standalone);
  QtWriteNode(Writer, Doc.Root);
  Writer.writeEndDocument();
  return Output;
}

// ---------------------------------------------------------------------------
// Inputs shared by the benchmarks, made once before any of them runs.

struct TInputs {
  std::string Text;      // the generated document, as the library's writer lays it out
  QByteArray TextBytes;  // the same bytes for Qt
  TXmlFile Tree;         // Text read by the library
  TQtDocument QtTree;    // Text read by Qt
  size_t QtOutputBytes = 0;
};

TInputs* Inputs = nullptr;

// True when the library's node and Qt's node hold the same name, attributes,
// text and element children.
bool SameContent(const TXmlNode& Node, const TQtNode& QtNode) {
  if (QString::fromStdString(Node.Name) != QtNode.Name) return false;
  size_t Index = 0;
  for (const THashtableItem* Item = Node.Attributes.First(); Item; Item = Item->Next.get(), ++Index) {
    if (Index >= QtNode.Attributes.size() ||
        QString::fromStdString(Item->Key) != QtNode.Attributes[Index].first ||
        QString::fromStdString(Item->Value) != QtNode.Attributes[Index].second)
      return false;
  }
  if (Index != QtNode.Attributes.size()) return false;
  if (QString::fromStdString(Node.Text()) != QtNode.Text) return false;
  Index = 0;
  for (const auto& Child : Node.Elements()) {
    const TXmlNode* ChildNode = XmlAs<TXmlNode>(Child.get());
    if (!ChildNode) continue;
    if (Index >= QtNode.Children.size() || !SameContent(*ChildNode, QtNode.Children[Index])) return false;
    ++Index;
  }
  return Index == QtNode.Children.size();
}

struct TCounts {
  size_t Elements = 0;
  size_t Attributes = 0;
  size_t TextBytes = 0;
  int MaxDepth = 0;
};

void Count(const TQtNode& Node, TCounts& Counts, int Depth = 1) {
  ++Counts.Elements;
  Counts.Attributes += Node.Attributes.size();
  Counts.TextBytes += static_cast<size_t>(Node.Text.size());
  if (Depth > Counts.MaxDepth) Counts.MaxDepth = Depth;
  for (const TQtNode& Child : Node.Children) Count(Child, Counts, Depth + 1);
}

// Builds the inputs and checks that both sides see and produce the same
// content, so the timings compare like with like. Returns false when a check
// fails.
bool PrepareInputs(size_t TargetBytes) {
  Inputs = new TInputs;
  Inputs->Text = GenerateDocument(TargetBytes);
  Inputs->TextBytes = QByteArray(Inputs->Text.data(), static_cast<qsizetype>(Inputs->Text.size()));
  bool Ok = true;

  try {
    TXmlReader(xsDefault, false).Parse(Inputs->Text, Inputs->Tree);
  } catch (const EXmlException& Error) {
    std::fprintf(stderr, "The library cannot read the document: %s (line %d, column %d)\n", Error.what(),
                 Error.Line, Error.Column);
    return false;
  } catch (const std::exception& Error) {
    std::fprintf(stderr, "The library cannot read the document: %s\n", Error.what());
    return false;
  }
  QString QtError;
  if (!QtRead(Inputs->TextBytes, Inputs->QtTree, &QtError)) {
    std::fprintf(stderr, "Qt cannot read the document: %s\n", qPrintable(QtError));
    return false;
  }

  const TXmlNode* Root = Inputs->Tree.RootNode();
  if (!Root || !SameContent(*Root, Inputs->QtTree.Root)) {
    std::fprintf(stderr, "CHECK FAILED: the library's tree and Qt's tree differ\n");
    Ok = false;
  }
  const std::string Written = Inputs->Tree.GetXml();
  if (Written != Inputs->Text) {
    size_t At = 0;
    while (At < Written.size() && At < Inputs->Text.size() && Written[At] == Inputs->Text[At]) ++At;
    std::fprintf(stderr, "CHECK FAILED: the library's writer does not reproduce the document "
                 "(first difference at byte %zu of %zu/%zu)\n", At, Written.size(), Inputs->Text.size());
    Ok = false;
  }
  const QByteArray QtWritten = QtWrite(Inputs->QtTree);
  Inputs->QtOutputBytes = static_cast<size_t>(QtWritten.size());
  TQtDocument QtReread;
  if (!QtRead(QtWritten, QtReread) || !(QtReread.Root == Inputs->QtTree.Root)) {
    std::fprintf(stderr, "CHECK FAILED: Qt's writer output does not read back into the same tree\n");
    Ok = false;
  }

  TCounts Counts;
  Count(Inputs->QtTree.Root, Counts);
  std::fprintf(stderr,
               "Document: %zu bytes, %zu elements, %zu attributes, %zu text characters, depth %d; "
               "Qt writer output %zu bytes\n",
               Inputs->Text.size(), Counts.Elements, Counts.Attributes, Counts.TextBytes, Counts.MaxDepth,
               Inputs->QtOutputBytes);
  return Ok;
}

void SetBytes(benchmark::State& State) {
  State.SetBytesProcessed(static_cast<int64_t>(State.iterations()) *
                          static_cast<int64_t>(Inputs->Text.size()));
}

// ---------------------------------------------------------------------------
// Benchmarks

void BM_ReadTree(benchmark::State& State) {
  for (auto _ : State) {
    TXmlFile File;
    TXmlReader(xsDefault, false).Parse(Inputs->Text, File);
    benchmark::DoNotOptimize(File.RootNode());
  }
  SetBytes(State);
}

void BM_ReadQt(benchmark::State& State) {
  for (auto _ : State) {
    TQtDocument Doc;
    QtRead(Inputs->TextBytes, Doc);
    benchmark::DoNotOptimize(Doc.Root.Children.data());
  }
  SetBytes(State);
}

void BM_WriteTree(benchmark::State& State) {
  for (auto _ : State) {
    std::string Text = Inputs->Tree.GetXml();
    benchmark::DoNotOptimize(Text.data());
  }
  SetBytes(State);
  State.counters["OutputBytes"] = static_cast<double>(Inputs->Text.size());
}

void BM_WriteQt(benchmark::State& State) {
  for (auto _ : State) {
    QByteArray Text = QtWrite(Inputs->QtTree);
    benchmark::DoNotOptimize(Text.data());
  }
  SetBytes(State);
  State.counters["OutputBytes"] = static_cast<double>(Inputs->QtOutputBytes);
}

BENCHMARK(BM_ReadTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadQt)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteTree)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WriteQt)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  size_t TargetBytes = size_t{10} << 20;
  // Take out our own flag before Google Benchmark sees the arguments.
  int Kept = 1;
  for (int Arg = 1; Arg < argc; ++Arg) {
    constexpr std::string_view Flag = "--document_kb=";
    if (std::string_view(argv[Arg]).starts_with(Flag)) {
      TargetBytes = std::strtoull(argv[Arg] + Flag.size(), nullptr, 10) << 10;
    } else {
      argv[Kept++] = argv[Arg];
    }
  }
  argc = Kept;

  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  if (!PrepareInputs(TargetBytes)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
