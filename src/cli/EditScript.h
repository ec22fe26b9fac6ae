#pragma once

// The script of pipeloop-cli edit: its grammar and its operations. Each
// operation is one entry of ScriptOperations(), which turns its words into
// values and runs the same document commands and checks as the desktop
// program's command of that name.

#include "EditRules.h"
#include "Parsed.h"

#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace pipeloop
{
class Document;
class TPipeLoop;
namespace catalogue
{
class TPartsDatabase;
}
} // namespace pipeloop

namespace pipeloop::cli
{

class Invocation;

// The words of one script line. Words are separated by blanks (spaces and
// tabs). A word that starts with a double quote runs to the next one and may
// hold blanks; two quotes inside it stand for one, and the closing quote must
// end the word. A quote anywhere else is part of the word (1/2"). A blank line
// or one whose first word starts with # has no words.
Parsed<QStringList> SplitScriptWords(const QString& line);

// The lines of a script text (CR LF, CR or LF).
QStringList ScriptLines(const QString& text);

// What the operations of one run work on: the open document and the run's
// options.
class ScriptContext
{
public:
    ScriptContext(Document& document, const Invocation& invocation);
    ~ScriptContext();

    Document& document() const { return m_document; }
    TPipeLoop& design() const;
    // The run's catalogue, loaded the first time it is needed.
    const catalogue::TPartsDatabase& catalogue();
    // The sizes the size entry lists, one per line: the catalogue's pipe sizes.
    const QString& pipeSizes();

private:
    Document& m_document;
    const Invocation& m_invocation;
    std::unique_ptr<catalogue::TPartsDatabase> m_catalogue;
    std::optional<QString> m_pipeSizes;
};

// One operation: its name, the words it takes after the name (for the usage
// text and the count check) and what it does.
struct ScriptOperation {
    QString name;
    QString words;
    int minimumWords = 0;
    int maximumWords = 0;
    std::function<EditResult(ScriptContext&, const QStringList&)> run;
};

const std::vector<ScriptOperation>& ScriptOperations();

// Runs one line of a script: nothing for a blank or comment line, else the
// operation its first word names with the words after it.
EditResult RunScriptLine(ScriptContext& context, const QString& line);

} // namespace pipeloop::cli
