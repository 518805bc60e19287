#include "online/AdSettingsReader.h"

#include <climits>
#include <cmath>

#include <nlohmann/json.hpp>

#include "session/Utf8Text.h"

namespace korv {

namespace {

using nlohmann::json;

// A reply that does not have the service's form.
struct Unreadable {};

const json& NullValue() {
    static const json null;
    return null;
}

// Member access by name: the member or null on an object; null reads as an
// empty object; any other value has no members to read.
const json& Member(const json& value, const char* name) {
    if (value.is_null()) {
        return NullValue();
    }
    if (!value.is_object()) {
        throw Unreadable{};
    }
    auto it = value.find(name);
    return it != value.end() ? *it : NullValue();
}

bool HasMember(const json& value, const char* name) { return value.is_object() && value.contains(name); }

std::wstring StringOf(const json& value) {
    if (!value.is_string()) {
        throw Unreadable{};
    }
    return WideFromUtf8(value.get_ref<const std::string&>());
}

// A JSON number as a 32-bit integer, cut like the library's own conversion
// (integers keep their low 32 bits; fractions are truncated).
int IntegerOf(const json& value) {
    if (value.is_number_integer() || value.is_number_unsigned()) {
        return static_cast<int>(static_cast<unsigned int>(value.get<long long>()));
    }
    if (value.is_number_float()) {
        double number = value.get<double>();
        if (std::isnan(number)) {
            return 0;
        }
        if (number >= static_cast<double>(INT_MAX)) {
            return INT_MAX;
        }
        if (number <= static_cast<double>(INT_MIN)) {
            return INT_MIN;
        }
        return static_cast<int>(number);
    }
    throw Unreadable{};
}

void RequireObjectOrNull(const json& element) {
    if (!element.is_object() && !element.is_null()) {
        throw Unreadable{};
    }
}

AdIcon ReadIcon(const json& element) {
    RequireObjectOrNull(element);
    AdIcon icon;
    if (HasMember(element, "height")) {
        icon.height = DecimalValue(StringOf(element["height"]));
    }
    if (HasMember(element, "width")) {
        icon.width = DecimalValue(StringOf(element["width"]));
    }
    if (HasMember(element, "imgUrl")) {
        icon.imgUrl = StringOf(element["imgUrl"]);
    }
    return icon;
}

AdRecord ReadRecord(const json& element) {
    RequireObjectOrNull(element);
    AdRecord record;
    if (HasMember(element, "isTagAdd")) {
        record.isTagAdd = IntegerOf(element["isTagAdd"]);
    }
    if (HasMember(element, "openType")) {
        record.openType = IntegerOf(element["openType"]);
    }
    struct TextMember {
        const char* name;
        std::wstring AdRecord::*field;
    };
    static const TextMember kTexts[] = {
        {"adName", &AdRecord::adName},
        {"adId", &AdRecord::adId},
        {"adUrl", &AdRecord::adUrl},
        {"targetUrl", &AdRecord::targetUrl},
    };
    for (const TextMember& text : kTexts) {
        if (HasMember(element, text.name)) {
            record.*text.field = StringOf(element[text.name]);
        }
    }
    const json& icons = Member(element, "icons");
    if (icons.is_array()) {
        for (const json& icon : icons) {
            record.icons.push_back(ReadIcon(icon));
        }
    }
    return record;
}

}  // namespace

int DecimalValue(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || (text[i] >= L'\t' && text[i] <= L'\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) {
        negative = text[i] == L'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value * 10 + (text[i] - L'0');
        if (value > static_cast<long long>(INT_MAX) + 1) {
            value = static_cast<long long>(INT_MAX) + 1;  // saturated; later digits cannot bring it back
        }
    }
    value = negative ? -value : value;
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

bool ParseAdSettings(const std::wstring& reply, std::vector<AdRecord>& records, AdLookupError* error) {
    try {
        json root = json::parse(Utf8FromWide(reply));
        int code = DecimalValue(StringOf(Member(root, "code")));
        if (code != 0) {
            if (error != nullptr) {
                error->code = code;
                error->msg = StringOf(Member(root, "msg"));
            }
            return false;
        }
        const json& rs = Member(root, "rs");
        if (!rs.is_array()) {
            return true;
        }
        for (const json& element : rs) {
            records.push_back(ReadRecord(element));
        }
        return true;
    } catch (const Unreadable&) {
    } catch (const json::exception&) {
    }
    if (error != nullptr) {
        error->code = -1;
        error->msg = L"error formatting";
    }
    return false;
}

}  // namespace korv
