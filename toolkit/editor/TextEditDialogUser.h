#pragma once

#include <string>

class TextEditDialogUserProxy;

// Whoever asks the editor for an in-place text edit: the edit reports back through a proxy, so an
// edit that outlives its user reaches nobody. Editor thread only.
class TextEditDialogUser {
 public:
  TextEditDialogUser() = default;
  // Unlinks the proxy of an open edit.
  virtual ~TextEditDialogUser();
  TextEditDialogUser(const TextEditDialogUser&) = delete;
  TextEditDialogUser& operator=(const TextEditDialogUser&) = delete;

  virtual bool ValidateText(const std::string& text);
  // text null: the edit was cancelled.
  virtual void EditFinished(const std::string* text) = 0;

  TextEditDialogUserProxy* GetProxy() const { return mProxy; }

 private:
  friend class TextEditDialogUserProxy;
  TextEditDialogUserProxy* mProxy{nullptr};
};

// Stands between one edit and its user; the window context owns it and deletes it when the edit
// ends. Each side clears the other's link when it goes.
class TextEditDialogUserProxy : public TextEditDialogUser {
 public:
  // A user already linked to an older edit has that edit cancelled first: one user, one edit.
  explicit TextEditDialogUserProxy(TextEditDialogUser* user);
  ~TextEditDialogUserProxy() override;

  // False once the user is gone.
  bool ValidateText(const std::string& text) override;
  void EditFinished(const std::string* text) override;

  TextEditDialogUser* GetUser() const { return mUser; }

 private:
  friend class TextEditDialogUser;
  TextEditDialogUser* mUser{nullptr};
};
