#pragma once

#include <string>

namespace gk {

// YesNoDefaultNo: Yes and No with No as the default button, for a question whose Yes loses
// something.
enum class MessageButtons { Ok, YesNo, YesNoDefaultNo, YesNoCancel };
enum class MessageIcon { None, Stop };
enum class MessageResult { Ok, Yes, No, Cancel };

// Shows a message box and answers with the button that closed it; Escape and the close box
// answer Cancel where there is one.
class MessageUi {
 public:
  virtual ~MessageUi() = default;
  virtual MessageResult ShowMessage(const std::string& text, const std::string& caption,
                                    MessageButtons buttons, MessageIcon icon) = 0;
};

}  // namespace gk
