#include "elements/materials/Element.h"

USING_NS_CC;

CCArray* buildColorRowList(const ColorRows& rows)
{
    CCArray* list = CCArray::createWithCapacity(static_cast<unsigned>(rows.count));
    for (int i = 0; i < rows.count; ++i)
        list->addObject(CCInteger::create(rows.rows[static_cast<size_t>(i)]));
    // Class-wide and never freed: it outlives every particle of the class.
    list->retain();
    return list;
}
