// Interaction requests that a running test or tool hands to its listener. The engine creates
// them; the front ends show them and write the answer back before the callback returns.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class InputField {
 public:
  InputField() : kind_(0) {}
  virtual ~InputField() = default;

  virtual void set_text(std::string text) { text_ = std::move(text); }
  virtual void set_tooltip(std::string tooltip) { tooltip_ = std::move(tooltip); }
  // An existing key keeps its value.
  virtual void AddAttribute(std::string key, std::string value) {
    attributes_.emplace(std::move(key), std::move(value));
  }
  virtual std::string text() { return text_; }
  virtual std::string tooltip() { return tooltip_; }
  virtual int32_t kind() { return kind_; }
  virtual std::map<std::string, std::string> attributes() { return attributes_; }

 protected:
  std::string text_;     // translation key; may hold rich text
  std::string tooltip_;  // translation key
  int32_t kind_;         // 0: label
  std::map<std::string, std::string> attributes_;
};

// A field shown as a text label.
class InputFieldLabel : public InputField {};

class InputRequest {
 public:
  enum Answer : int32_t { kNoAnswer = 0, kFirstButton = 1, kSecondButton = 2 };
  enum Kind : int32_t { kQuestion = 0, kInformation = 1, kWarning = 2, kError = 3 };
  enum Buttons : int32_t { kOk = 0, kOkCancel = 1, kCloseOnly = 2 };

  InputRequest(std::string title_key, std::string message_key, int kind_value, int buttons_value)
      : answer(kNoAnswer),
        title(std::move(title_key)),
        message(std::move(message_key)),
        kind(kind_value),
        buttons(buttons_value) {}
  // Fields belong to whoever created them and are not freed here.
  virtual ~InputRequest() = default;

  int32_t answer;
  std::string title;
  std::string message;
  int32_t kind;
  int32_t buttons;
  std::vector<InputField*> fields;
};
