#include "ObjectImage.h"

#include "PipeLoopObjects.h"

namespace pipeloop
{

namespace
{
const QString Section = QStringLiteral("Object");
}

ObjectImage ObjectImage::Of(const TPipeLoopObject& object)
{
    ObjectImage image;
    object.SaveToIni(image.m_fields, Section);
    return image;
}

void ObjectImage::applyTo(TPipeLoopObject& object) const
{
    // A symbol list loads by appending: the old one goes first.
    if (auto* withSymbols = dynamic_cast<TObjectWithSymbols*>(&object))
        withSymbols->Symbols.clear();
    // Only a value that was not finite when captured could fail to read back;
    // the object then keeps its own value of that one field.
    [[maybe_unused]] const LoadResult loaded = object.LoadFromIni(m_fields, Section);
}

bool ObjectImage::operator==(const ObjectImage& other) const
{
    return m_fields.toBytes() == other.m_fields.toBytes();
}

} // namespace pipeloop
