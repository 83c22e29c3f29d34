// A small XML library: an in-memory document tree, a writer with a fixed
// layout and a reader with positioned errors. Text is bytes: UTF-8 passes
// through unchanged, every name comparison is exact and case-sensitive.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/VmBaseClasses.h"
#include "base/VmFileLib.h"

// Whitespace handling of an element: inherit, default, or preserve.
enum TXmlSpace : uint8_t { xsNone = 0, xsDefault = 1, xsPreserve = 2 };
// The declaration's encoding attribute: none, "windows-1252", or EncodingName.
enum TXmlEncoding : uint8_t { xeNone = 0, xeWindows1252 = 1, xeCustom = 2 };
// The stylesheet reference's type attribute.
enum TXmlStylesheetType : uint8_t { stCss = 0, stXsl = 1, stXml = 2, stCustom = 3 };

// The library's error. Line and Column (1-based) and LineText are set only
// when the reader raised it; otherwise they are 0, 0 and empty.
class EXmlException : public Exception {
 public:
  explicit EXmlException(const std::string& Message) : Exception(Message) {}
  EXmlException(const std::string& Message, std::string LineText, int Column, int Line)
      : Exception(Message), Line(Line), Column(Column), LineText(std::move(LineText)) {}

  int Line = 0;
  int Column = 0;
  std::string LineText;
};

class TXmlWriter;
class TXmlElementContainer;
class TXmlElementList;

// One bit per concrete element class. A class's ClassMask holds its own bit
// and those of every class derived from it, so "is an instance of T or of a
// class derived from it" is one AND.
enum : uint32_t {
  xkNode = 1u << 0,
  xkFile = 1u << 1,
  xkText = 1u << 2,
  xkComment = 1u << 3,
  xkProcessingInstruction = 1u << 4,
  xkAttributedInstruction = 1u << 5,
  xkDeclaration = 1u << 6,
  xkStylesheetReference = 1u << 7,
  xkKindCount = 8
};

// Anything that can stand in a document or an element.
class TXmlElement {
 public:
  static constexpr uint32_t ClassMask = (1u << xkKindCount) - 1;

  TXmlElement() = default;
  TXmlElement(const TXmlElement&) = delete;
  TXmlElement& operator=(const TXmlElement&) = delete;
  virtual ~TXmlElement() = default;

  // Writes the element and everything below it.
  virtual void WriteTo(TXmlWriter& Writer) const = 0;
  // The bit of the element's concrete class.
  virtual uint32_t Kind() const = 0;
  // The container whose child this is; nullptr while detached.
  TXmlElementContainer* Parent() const { return FParent; }

 private:
  friend class TXmlElementList;
  TXmlElementContainer* FParent = nullptr;
};

// True when Element is an instance of T or of a class derived from T.
template <class T>
bool XmlIs(const TXmlElement* Element) {
  return Element && (Element->Kind() & T::ClassMask) != 0;
}
// Element as a T, or nullptr when it is not one.
template <class T>
T* XmlAs(TXmlElement* Element) {
  return XmlIs<T>(Element) ? static_cast<T*>(Element) : nullptr;
}
template <class T>
const T* XmlAs(const TXmlElement* Element) {
  return XmlIs<T>(Element) ? static_cast<const T*>(Element) : nullptr;
}

// Enumerates a list's children, optionally only those of one class.
class TXmlElementListEnumerator : public TVmEnumerator<TXmlElement> {
 public:
  TXmlElementListEnumerator(const TXmlElementList& List, uint32_t ElementClass)
      : FList(List), FElementClass(ElementClass) {}
  TXmlElement* GetCurrent() const override;
  bool MoveNext() override;
  void Reset() override { FIndex = -1; }

 private:
  const TXmlElementList& FList;
  uint32_t FElementClass;  // a ClassMask; TXmlElement::ClassMask for no filter
  int FIndex = -1;
};

// The children of a container, in document order. The list owns them.
class TXmlElementList {
 public:
  explicit TXmlElementList(TXmlElementContainer& Owner) : FOwner(Owner) {}
  TXmlElementList(const TXmlElementList&) = delete;
  TXmlElementList& operator=(const TXmlElementList&) = delete;
  ~TXmlElementList();

  // Appends a detached element and takes it over; returns its 0-based index.
  // A refused element throws Exception and is destroyed.
  int Add(std::unique_ptr<TXmlElement> Element);
  // Moves an element that already belongs to a container to the end of this list.
  int Add(TXmlElement& Element);
  // Creates a T, appends it and returns it.
  template <class T, class... TArgs>
  T& AddNew(TArgs&&... Args) {
    auto Element = std::make_unique<T>(std::forward<TArgs>(Args)...);
    T& Result = *Element;
    Add(std::move(Element));
    return Result;
  }
  // Takes the element out of the list and destroys it; nothing when it is not here.
  void Remove(TXmlElement* Element);
  // Destroys every child.
  void Clear();
  int Count() const { return static_cast<int>(FItems.size()); }
  // The child at a 0-based index; nullptr when out of range.
  TXmlElement* Items(int Index) const;
  // Number of children that are instances of the class.
  int CountOf(uint32_t ElementClass) const;
  template <class T>
  int CountOf() const { return CountOf(T::ClassMask); }
  // The first child that is an instance of the class, or nullptr.
  TXmlElement* FirstOf(uint32_t ElementClass) const;
  template <class T>
  T* FirstOf() const { return static_cast<T*>(FirstOf(T::ClassMask)); }
  // A new enumerator over all children, or over the instances of a class.
  std::unique_ptr<TXmlElementListEnumerator> GetEnumerator(
      uint32_t ElementClass = TXmlElement::ClassMask) const;

  TXmlElementContainer& Owner() const { return FOwner; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  void Append(std::unique_ptr<TXmlElement> Element);
  std::unique_ptr<TXmlElement> Detach(TXmlElement* Element);

  TXmlElementContainer& FOwner;
  std::vector<std::unique_ptr<TXmlElement>> FItems;
  int FKindCounts[xkKindCount] = {};  // children per concrete class, for constant-time checks
};

class TXmlNode;

// An element that holds children: an XML element or a whole document.
class TXmlElementContainer : public TXmlElement {
 public:
  static constexpr uint32_t ClassMask = xkNode | xkFile;

  TXmlElementContainer() : FElements(*this) {}

  // Whether Element may be added as a child here.
  virtual bool CanAdd(const TXmlElement& Element) const = 0;
  TXmlElementList& Elements() { return FElements; }
  const TXmlElementList& Elements() const { return FElements; }
  // The first direct child element named exactly Name, or nullptr.
  TXmlNode* FindNode(std::string_view Name) const;

  TXmlSpace XmlSpace = xsNone;

 private:
  TXmlElementList FElements;
};

// An XML element: a name, attributes in order, and children.
class TXmlNode : public TXmlElementContainer {
 public:
  static constexpr uint32_t ClassMask = xkNode;

  TXmlNode() = default;
  explicit TXmlNode(std::string Name) : Name(std::move(Name)) {}
  // Also adds a text child holding Text, even an empty one.
  TXmlNode(std::string Name, std::string Text);

  void WriteTo(TXmlWriter& Writer) const override;
  uint32_t Kind() const override { return xkNode; }
  bool CanAdd(const TXmlElement& Element) const override;
  // The first text child, or nullptr.
  class TXmlText* TextElement() const;
  // All text children's texts joined in document order.
  std::string Text() const;

  std::string Name;
  TVmHashtable Attributes;
  std::string XmlLang;
};

// Text content, or a CDATA section when IsCData.
class TXmlText : public TXmlElement {
 public:
  static constexpr uint32_t ClassMask = xkText;

  TXmlText() = default;
  explicit TXmlText(std::string Text) : Text(std::move(Text)) {}
  explicit TXmlText(int32_t Value) : Text(std::to_string(Value)) {}

  void WriteTo(TXmlWriter& Writer) const override;
  uint32_t Kind() const override { return xkText; }

  // Whether Text is a 32-bit signed decimal integer.
  bool IsInteger() const;
  // Text as an integer; throws EConvertError when it is not one.
  int32_t AsInteger() const;
  void SetAsInteger(int32_t Value) { Text = std::to_string(Value); }
  // Whether Text is an integer (0 false, else true) or "True"/"False" in any case.
  bool IsBoolean() const;
  // Text as a Boolean; throws EConvertError when it is not one.
  bool AsBoolean() const;
  void SetAsBoolean(bool Value) { Text = Value ? "True" : "False"; }

  bool IsCData = false;
  std::string Text;
};

// A comment.
class TXmlComment : public TXmlElement {
 public:
  static constexpr uint32_t ClassMask = xkComment;

  TXmlComment() = default;
  explicit TXmlComment(std::string Text) : Text(std::move(Text)) {}
  void WriteTo(TXmlWriter& Writer) const override;
  uint32_t Kind() const override { return xkComment; }

  std::string Text;
};

// Any processing instruction.
class TXmlInstruction : public TXmlElement {
 public:
  static constexpr uint32_t ClassMask =
      xkProcessingInstruction | xkAttributedInstruction | xkDeclaration | xkStylesheetReference;

  // Used by generic instructions; the declaration and stylesheet reference have fixed targets.
  std::string Target;
};

// A generic instruction: a target and free data.
class TXmlProcessingInstruction : public TXmlInstruction {
 public:
  static constexpr uint32_t ClassMask = xkProcessingInstruction;

  void WriteTo(TXmlWriter& Writer) const override;
  uint32_t Kind() const override { return xkProcessingInstruction; }

  std::string Data;  // everything between the target and the closing "?>"
};

// An instruction whose content is attributes.
class TXmlAttributedInstruction : public TXmlInstruction {
 public:
  static constexpr uint32_t ClassMask = xkAttributedInstruction | xkDeclaration | xkStylesheetReference;

  void WriteTo(TXmlWriter& Writer) const override;
  uint32_t Kind() const override { return xkAttributedInstruction; }

  TVmHashtable Attributes;
};

// The "<?xml ...?>" declaration. Attributes added to it are interpreted at
// once and removed again.
class TXmlDeclaration : public TXmlAttributedInstruction {
 public:
  static constexpr uint32_t ClassMask = xkDeclaration;

  explicit TXmlDeclaration(TXmlEncoding Encoding = xeNone, std::string EncodingName = {});
  void WriteTo(TXmlWriter& Writer) const override;
  uint32_t Kind() const override { return xkDeclaration; }

  std::string Version = "1.0";
  TXmlEncoding Encoding = xeNone;
  std::string EncodingName;
  bool Standalone = true;
};

// The "<?xml-stylesheet ...?>" instruction. Attributes added to it are
// interpreted at once and removed again.
class TXmlStylesheetReference : public TXmlAttributedInstruction {
 public:
  static constexpr uint32_t ClassMask = xkStylesheetReference;

  TXmlStylesheetReference();
  void WriteTo(TXmlWriter& Writer) const override;
  uint32_t Kind() const override { return xkStylesheetReference; }

  TXmlStylesheetType StylesheetType = stCustom;
  std::string CustomType;
  std::string Href;
};

// A whole document: at most one declaration, one root element, any comments
// and other instructions.
class TXmlFile : public TXmlElementContainer {
 public:
  static constexpr uint32_t ClassMask = xkFile;

  // Writes the declaration first, wherever it stands, then the other children.
  void WriteTo(TXmlWriter& Writer) const override;
  uint32_t Kind() const override { return xkFile; }
  bool CanAdd(const TXmlElement& Element) const override;
  // The first element child, or nullptr.
  TXmlNode* RootNode() const;

  // The document as text, in the writer's default layout.
  std::string GetXml() const;
  // Writes the document to FileName, replacing it atomically. Throws
  // EXmlException for a tree that cannot be written (the file is then not
  // touched) and EFileError when the file cannot be written.
  void SaveToFile(const std::string& FileName) const;
  // Replaces the document's children with the file's content. False for an
  // empty FileName or an empty file (nothing changes). Throws EFileError
  // when the file cannot be read or is larger than MaxSize bytes, and the
  // reader's errors when it does not parse; the document then holds what was
  // read before the error.
  bool LoadFromFile(const std::string& FileName, size_t MaxSize = MaxTextFileSize);
};

// Produces XML text from a sequence of calls, closing start tags lazily,
// indenting by depth and refusing calls in the wrong order.
class TXmlWriter {
 public:
  TXmlWriter();

  // Begins a child element.
  void OpenNode(std::string_view Name);
  // Ends the innermost open element.
  void CloseNode();
  // Begins an instruction, which takes attributes only.
  void OpenProcessingInstruction(std::string_view Target);
  // Ends the innermost open instruction.
  void CloseProcessingInstruction();
  void WriteAttribute(std::string_view Name, std::string_view Value);
  // Writes xml:space for xsDefault and xsPreserve; nothing for xsNone.
  void WriteXmlSpace(TXmlSpace Mode);
  void WriteText(std::string_view Text);
  void WriteCData(std::string_view Text);
  void WriteComment(std::string_view Text);
  void WriteProcessingInstruction(std::string_view Target, std::string_view Data);
  // The text written so far; open levels are not closed.
  const std::string& GetXml() const { return FOutput; }

  char QuoteChar = '"';
  std::string LineBreak = "\r\n";
  std::string IndentString = "\t";
  bool Indent = true;
  bool EscapeControlChars = false;  // write characters below 32 as "&#xNN;"

 private:
  struct TXmlWriterItem {
    TXmlSpace XmlSpace;
    bool HasContent;
    std::string Name;  // "?" for an open instruction, empty for the document level
  };

  void BeginChild();
  void CloseStartTag();
  void EndLine();
  void WriteIndent(int Levels);
  void WriteName(std::string_view Name);
  void WriteEscaped(std::string_view Text, bool EscapeMarkup);
  void CheckAttributeAllowed();
  void Push(std::string_view Name);

  std::string FOutput;
  TVmStack<TXmlWriterItem> FStack;
};

// A single-pass recursive parser that adds what it reads to a container.
class TXmlReader {
 public:
  // Elements nested deeper than this are refused, so hostile input cannot
  // exhaust the stack.
  static constexpr int MaxDepth = 1000;

  TXmlReader(TXmlSpace DefaultXmlSpace, bool NormalizeLineBreaks)
      : FDefaultXmlSpace(DefaultXmlSpace), FNormalizeLineBreaks(NormalizeLineBreaks) {}

  // Parses every piece of markup in Text into Container. Text must outlive
  // the call. What was added before an error stays in Container.
  void Parse(std::string_view Text, TXmlElementContainer& Container);

 private:
  char C() const { return FText[FPos]; }
  [[noreturn]] void Error(const char* Message) const;
  void Advance(size_t N);
  void NeedAvailable(size_t N) const;
  bool LookingAt(std::string_view What) const;
  void SkipWhitespace();
  // Collects characters up to one that IsStop accepts (not consumed). Invalid
  // (a byte value, or 256 for none) is refused; Entities turns "&...;" into characters.
  template <class TStop>
  void ReadUpTo(std::string& Out, TStop IsStop, int Invalid, bool Entities);
  void ReadUpToTerminator(std::string& Out, std::string_view Terminator);
  char ReadEntity();
  std::string ReadName();
  std::string ReadTagName();
  std::string ReadAttributeName();
  std::string ReadAttributeValue();
  void ReadAttribute(TVmHashtable& Attributes);
  void ParseMarkup(TXmlElementContainer& Container, int Depth);
  void ParseInstruction(TXmlElementContainer& Container);
  void ParseElement(TXmlElementContainer& Container, int Depth);

  TXmlSpace FDefaultXmlSpace;
  bool FNormalizeLineBreaks;
  std::string_view FText;
  size_t FPos = 0;  // 0-based index of the current character
  TXmlSpace FMode = xsDefault;  // whitespace mode of the content being read
};
