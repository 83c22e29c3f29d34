#include "cli/TerminalDialogs.h"

#include <algorithm>
#include <istream>
#include <ostream>

#include "base/VmStringLib.h"

namespace {

bool Offers(const TMessage& Message, TModalResult Button) {
  return std::find(Message.Buttons.begin(), Message.Buttons.end(), Button) != Message.Buttons.end();
}

// The answer that leaves files alone: for all of them when the question offers that.
TModalResult NoAnswer(const TMessage& Message) { return Offers(Message, mrNoToAll) ? mrNoToAll : mrNo; }
TModalResult YesAnswer(const TMessage& Message) { return Offers(Message, mrYesToAll) ? mrYesToAll : mrYes; }

// "N&o to All" as "N[o] to All", and its letter 'o'.
std::string Choice(const char* Caption, char& Letter) {
  std::string Text;
  Letter = 0;
  for (const char* C = Caption; *C; ++C) {
    if (*C == '&' && C[1]) {
      Letter = static_cast<char>(C[1] | 0x20);  // ASCII lower case
      Text += '[';
      Text += *++C;
      Text += ']';
    } else {
      Text += *C;
    }
  }
  return Text;
}

// A caption without its "&", for answers typed as words.
std::string PlainCaption(const char* Caption) {
  std::string Text;
  for (const char* C = Caption; *C; ++C)
    if (*C != '&') Text += *C;
  return Text;
}

}  // namespace

TModalResult TTerminalDialogs::ShowMessage(const TMessage& Message) {
  if (Message.Buttons.size() > 1) {
    switch (FAnswer) {
      case roYes: return YesAnswer(Message);
      case roNo: return NoAnswer(Message);
      case roAsk: return FInteractive ? Ask(Message) : NoAnswer(Message);
    }
  }
  if (Message.Type == mtError || Message.Type == mtWarning) {
    if (Message.Type == mtError) ++FErrorCount;
    FErr << Message.Text << '\n';
  } else {
    FOut << Message.Text << '\n';
  }
  return Message.Buttons.empty() ? mrNone : Message.Buttons.front();
}

TModalResult TTerminalDialogs::Ask(const TMessage& Message) {
  std::string Prompt = Message.Text;
  std::vector<char> Letters;
  for (size_t I = 0; I < Message.Buttons.size(); ++I) {
    char Letter;
    Prompt += I == 0 ? " " : ", ";
    Prompt += Choice(ModalResultCaption(Message.Buttons[I]).c_str(), Letter);
    Letters.push_back(Letter);
  }
  Prompt += "? ";
  for (;;) {
    FErr << Prompt << std::flush;
    std::string Line;
    if (!std::getline(FIn, Line)) {
      FErr << '\n';
      return mrNo;  // the terminal closed: leave the file alone
    }
    const std::string_view Typed = TrimBlanks(Line);
    for (size_t I = 0; I < Message.Buttons.size(); ++I) {
      const bool ByLetter = Typed.size() == 1 && (Typed[0] | 0x20) == Letters[I];
      if (ByLetter || SameTextIgnoringAsciiCase(Typed, PlainCaption(ModalResultCaption(Message.Buttons[I]).c_str())))
        return Message.Buttons[I];
    }
  }
}
