// SPDX-License-Identifier: MIT
#include <qvbarcode/component/TypeLibraryIdl.h>

#include <cstdio>
#include <sstream>

#include <qvbarcode/component/TypeLibrary.h>

namespace qv::component {
namespace {

std::string Hex(std::uint32_t value, const char* pattern = "0x%08X") {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, pattern, static_cast<unsigned>(value));
    return buffer;
}

std::string_view IdlType(host::ValueType type) {
    switch (type) {
        case host::ValueType::String:
            return "BSTR";
        case host::ValueType::Int32:
            return "long";
        case host::ValueType::Boolean:
            return "VARIANT_BOOL";
        case host::ValueType::EnumBarCodeType:
            return "EnumBarCodeType";
        case host::ValueType::Variant:
            return "VARIANT";
    }
    return "VARIANT";
}

void WriteEnumeration(std::ostream& out, const Enumeration& e) {
    out << "    typedef [uuid(" << host::ToIdlForm(e.id) << "), version(1.0)]\n    enum {\n";
    for (std::size_t i = 0; i < e.members.size(); ++i) {
        const EnumerationMember& m = e.members[i];
        out << "        [helpstring(\"" << m.helpString << "\")] " << m.name << " = " << m.value
            << (i + 1 < e.members.size() ? ",\n" : "\n");
    }
    out << "    } " << e.name << ";\n\n";
}

void WriteParameter(std::ostream& out, const host::Parameter& p) {
    out << "[in";
    if (p.output) out << ", out";
    if (p.optional) out << ", optional, defaultvalue(" << p.defaultValue << ")";
    out << "] " << IdlType(p.type) << (p.byReference ? "* " : " ") << p.name;
}

void WriteMember(std::ostream& out, const host::Member& m) {
    out << "        [id(" << Hex(static_cast<std::uint32_t>(m.id)) << ")";
    if (m.kind == host::MemberKind::Get) out << ", propget";
    if (m.kind == host::MemberKind::Let) out << ", propput";
    out << "]\n        HRESULT " << m.name << "(";
    switch (m.kind) {
        case host::MemberKind::Get:
            out << "[out, retval] " << IdlType(m.type) << "* " << m.name;
            break;
        case host::MemberKind::Let:
            out << "[in] " << IdlType(m.type) << " " << m.name;
            break;
        case host::MemberKind::Method:
            for (const host::Parameter& p : m.parameters) {
                WriteParameter(out, p);
                out << ", ";
            }
            out << "[out, retval] " << IdlType(m.type) << "* Result";
            break;
    }
    out << ");\n";
}

void WriteInterface(std::ostream& out, const host::InterfaceTable& table) {
    if (table.dispatchOnly) {
        out << "    [uuid(" << host::ToIdlForm(table.id) << "), hidden, nonextensible]\n"
            << "    dispinterface " << table.name << " {\n"
            << "        properties:\n        methods:\n    };\n\n";
        return;
    }
    out << "    [odl, uuid(" << host::ToIdlForm(table.id)
        << "), hidden, dual, nonextensible, oleautomation]\n"
        << "    interface " << table.name << " : IDispatch {\n";
    for (const host::Member& m : table.members) WriteMember(out, m);
    out << "    };\n\n";
}

void WriteClass(std::ostream& out, const ClassDescription& c) {
    if (c.kind == ClassKind::Control) {
        out << "    // Registered with miscellaneous status " << Hex(c.miscStatus);
        if (c.toolboxImage) {
            const ToolboxImage& image = *c.toolboxImage;
            out << ", toolbox image " << image.width << " x " << image.height << " ("
                << image.bitsPerPixel << "-bit, resource " << image.resourceNumber << ")";
        }
        out << ",\n    // property page " << host::ToIdlForm(c.propertyPage.value_or(host::Guid{}))
            << ".\n";
    }
    out << "    [uuid(" << host::ToIdlForm(c.id) << ")"
        << (c.kind == ClassKind::Control ? ", control" : "") << "]\n    coclass " << c.name
        << " {\n"
        << "        [default] interface " << c.defaultInterface->name << ";\n";
    if (c.eventInterface != nullptr) {
        out << "        [default, source] dispinterface " << c.eventInterface->name << ";\n";
    }
    out << "    };\n\n";
}

}  // namespace

std::string TypeLibraryIdl() {
    const TypeLibraryDescription& lib = TypeLibrary();
    std::ostringstream out;
    out << "// Generated from the component's own description; threading model "
        << lib.threadingModel << ".\n"
        << "[\n    uuid(" << host::ToIdlForm(lib.id) << "),\n    version(" << lib.majorVersion
        << "." << lib.minorVersion << "),\n    helpstring(\"" << lib.helpString << "\")\n]\n"
        << "library " << lib.name << "\n{\n"
        << "    // " << lib.importedLibrary << " version " << lib.importedLibraryVersion << "\n"
        << "    importlib(\"" << lib.importedLibrary << "\");\n\n";
    for (const host::InterfaceTable* table : lib.interfaces) {
        out << "    " << (table->dispatchOnly ? "dispinterface " : "interface ") << table->name
            << ";\n";
    }
    out << "\n";
    if (lib.enumeration != nullptr) WriteEnumeration(out, *lib.enumeration);
    for (const host::InterfaceTable* table : lib.interfaces) WriteInterface(out, *table);
    for (const ClassDescription& c : lib.classes) WriteClass(out, c);
    out << "};\n";
    return out.str();
}

}  // namespace qv::component
