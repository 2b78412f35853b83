#pragma once
// LoginByTag: a click on a user tag. A left click logs the tag's user in, asking for a name
// when the tag has none; a right click always asks for a new name.

namespace quendal {

class TTextEingabeDialog;

// Logs in the user of tag 1..4. The name dialog is shown once when the tag has no name or
// `rename` is on; cancelling it puts a set-aside name back and leaves nobody logged in.
// Returns true when the user is logged in, so the main window moves to its menu panel.
bool LoginByTag(int tag, bool rename, TTextEingabeDialog& dialog);

} // namespace quendal
