#pragma once

// The stored fields of one object, captured so that a change of it can be
// undone: what its section of a project file holds, kept in memory.

#include "IniFile.h"

namespace pipeloop
{

class TPipeLoopObject;

class ObjectImage
{
public:
    // The object's fields as its own SaveToIni writes them.
    static ObjectImage Of(const TPipeLoopObject& object);

    // Gives the object these fields back through its own LoadFromIni. What is
    // not stored (selection, highlight, the drop view's selected symbol, where
    // a view last drew it) stays as the object has it now.
    void applyTo(TPipeLoopObject& object) const;

    // Equal images give equal project files.
    bool operator==(const ObjectImage& other) const;

private:
    IniFile m_fields;
};

} // namespace pipeloop
