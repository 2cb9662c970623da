#include "calc/field_model.h"

namespace beltrix {
namespace {

struct FieldInfo {
    Field field;
    std::string_view name;
    std::string_view label;
    std::string_view initialText;
};

constexpr FieldInfo fieldInfo[] = {
    {Field::Text1, "Text1", "DSLAM VLAN", ""},     {Field::Text6, "Text6", "INNER VLAN", ""},
    {Field::Text7, "Text7", "TAG BLOCK NO", ""},   {Field::Text11, "Text11", "SLOT", ""},
    {Field::Text13, "Text13", "PORT", ""},         {Field::Text2, "Text2", "VLAN", " "},
    {Field::Text12, "Text12", "TAG BLOCK NO", ""}, {Field::Text4, "Text4", "SLOT", " "},
    {Field::Text5, "Text5", "PORT", " "},          {Field::Text3, "Text3", "VLAN MINUS 127", ""},
};

const FieldInfo& infoOf(Field field) {
    for (const FieldInfo& info : fieldInfo) {
        if (info.field == field) {
            return info;
        }
    }
    return fieldInfo[0]; // unreachable: every enumerator has a row
}

} // namespace

std::string_view fieldName(Field field) {
    return infoOf(field).name;
}
std::string_view fieldLabel(Field field) {
    return infoOf(field).label;
}
std::string_view initialText(Field field) {
    return infoOf(field).initialText;
}

std::optional<Field> fieldFromName(std::string_view name) {
    for (const FieldInfo& info : fieldInfo) {
        if (info.name == name) {
            return info.field;
        }
    }
    return std::nullopt;
}

} // namespace beltrix
