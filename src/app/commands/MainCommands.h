#pragma once

// The rows of the main window's command table: every menu, menu item, tool
// bar button and symbol button, with its rules and its handler.

namespace pipeloop
{

class CommandTable;
class TMainForm;

void AddMainCommands(CommandTable& table, TMainForm& form);

} // namespace pipeloop
