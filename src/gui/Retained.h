#pragma once
// hold: a field that keeps its object alive. The new object is retained
// before the old one is released, so holding the same object again is safe;
// null lets go.
#include <type_traits>

template <typename T> void hold(T*& field, std::type_identity_t<T>* value)
{
    if (value)
        value->retain();
    if (field)
        field->release();
    field = value;
}
