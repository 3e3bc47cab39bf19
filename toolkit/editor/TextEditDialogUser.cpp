#include "toolkit/editor/TextEditDialogUser.h"

TextEditDialogUser::~TextEditDialogUser() {
  if (mProxy) mProxy->mUser = nullptr;
}

bool TextEditDialogUser::ValidateText(const std::string&) { return true; }

TextEditDialogUserProxy::TextEditDialogUserProxy(TextEditDialogUser* user) : mUser(user) {
  if (!user) return;
  if (TextEditDialogUserProxy* old = user->mProxy) {
    // The old edit's later end must reach nobody, and its user hears that it ended.
    old->mUser = nullptr;
    user->mProxy = nullptr;
    user->EditFinished(nullptr);
  }
  user->mProxy = this;
}

TextEditDialogUserProxy::~TextEditDialogUserProxy() {
  if (mUser && mUser->mProxy == this) mUser->mProxy = nullptr;
}

bool TextEditDialogUserProxy::ValidateText(const std::string& text) {
  return mUser ? mUser->ValidateText(text) : false;
}

void TextEditDialogUserProxy::EditFinished(const std::string* text) {
  if (!mUser) return;
  TextEditDialogUser* user = mUser;
  // One end per edit: a second report (or one after the user started another) reaches nobody.
  mUser = nullptr;
  if (user->mProxy == this) user->mProxy = nullptr;
  user->EditFinished(text);
}
