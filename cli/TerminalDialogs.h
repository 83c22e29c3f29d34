// The dialogs of the command-line program: messages become lines on the
// terminal's streams, questions are asked there or answered by a standing
// choice, and file dialogs return nothing.
#pragma once

#include <iosfwd>

#include "base/Dialogs.h"
#include "cli/CliOptions.h"

class TTerminalDialogs : public TDialogs {
 public:
  // Errors and warnings go to Err, other messages to Out. A question is
  // answered by Answer; with roAsk it is asked on Err and answered from In,
  // which only happens when Interactive (In is a terminal): otherwise, and
  // when In ends, the answer is no.
  TTerminalDialogs(std::istream& In, std::ostream& Out, std::ostream& Err, bool Interactive, TReadOnlyAnswer Answer)
      : FIn(In), FOut(Out), FErr(Err), FInteractive(Interactive), FAnswer(Answer) {}

  TModalResult ShowMessage(const TMessage& Message) override;
  std::vector<std::string> OpenFiles(const TFileDialog&) override { return {}; }
  std::string SaveFile(const TFileDialog&) override { return {}; }
  std::string BrowseForFolder(const std::string&, const std::string&) override { return {}; }

  // How many error messages were shown.
  int ErrorCount() const { return FErrorCount; }

 private:
  TModalResult Ask(const TMessage& Message);

  std::istream& FIn;
  std::ostream& FOut;
  std::ostream& FErr;
  bool FInteractive;
  TReadOnlyAnswer FAnswer;
  int FErrorCount = 0;
};
