// Table tools: look into a data file, build one, change it, check and repair its index.
#include "cli/CliCommand.h"
#include "cli/CliGroup.h"
#include "cli/CliTables.h"
#include "tables/Cp1252.h"

#include <cstdio>
#include <iostream>
#include <sstream>

namespace orv::cli {
namespace ORV_UNITY_ID {

// Opens a table for a tool; null after printing one line.
Data4* openTable(Code4& code, const char* command, const std::string& path) {
    Data4* d = d4open(&code, path);
    if (!d) fail(command, "cannot open " + path + ": " + describeResult(code.lastOpenError));
    return d;
}

int engineFailure(const char* command, const std::string& what, int rc) {
    return fail(command, what + ": " + describeResult(rc));
}

// dbf-info

int runDbfInfo(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage("dbf-info", args.error());
    if (args.positional().size() != 1) return usage("dbf-info", "expected one table file");
    Code4 code;
    initToolContext(code);
    code.autoOpen = 0; // the data file alone: a damaged index must not hide it
    code.readOnly = 1;
    Data4* d = openTable(code, "dbf-info", args.positional()[0]);
    if (!d) return kExitFailure;
    std::printf("file: %s\n", d->path.c_str());
    std::printf("version: 0x%02X\n", d->version);
    std::printf("last change: year byte %d, month %d, day %d\n", d->date[0], d->date[1],
                d->date[2]);
    std::printf("records: %ld\n", d4recCount(d));
    std::printf("header length: %u\n", d->headerLength);
    std::printf("record length: %u\n", d->recordLength);
    std::printf("table flags: 0x%02X%s\n", d->tableFlags,
                (d->tableFlags & 0x01) ? " (production index)" : "");
    std::printf("fields: %d\n", d4numFields(d));
    std::printf("  %-3s %-10s %-4s %5s %8s %6s\n", "#", "name", "type", "width", "decimals",
                "offset");
    for (int i = 1; i <= d4numFields(d); ++i) {
        const Field4* f = d4fieldJ(d, i);
        std::printf("  %-3d %-10s %-4c %5d %8d %6d\n", i, f->name.c_str(), f->type, f->width,
                    f->decimals, f->offset);
    }
    return kExitOk;
}

ORV_CLI_COMMAND(
    "dbf-info", "show the header and fields of a table",
    "usage: orvsched-cli dbf-info FILE\n\n"
    "Shows the data file's version, last-change date bytes, record count, header and\n"
    "record length, table flags and every field (name, type, width, decimals, offset).\n",
    runDbfInfo);

// dbf-dump

int runDbfDump(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"tag"}, {"deleted"})) return usage("dbf-dump", args.error());
    if (args.positional().size() != 1) return usage("dbf-dump", "expected one table file");
    const bool withDeleted = args.has("deleted");
    Code4 code;
    initToolContext(code);
    code.readOnly = 1;
    auto tagName = args.value("tag");
    if (!tagName) code.autoOpen = 0;
    Data4* d = openTable(code, "dbf-dump", args.positional()[0]);
    if (!d) return kExitFailure;
    if (tagName) {
        Tag4* t = d4tag(d, *tagName);
        if (!t) return fail("dbf-dump", "no tag " + *tagName + " in " + d->path);
        d4tagSelect(d, t);
    }
    int rc = d4top(d);
    while (rc == res4success) {
        bool deleted = d4deleted(d);
        if (!deleted || withDeleted) {
            if (withDeleted) std::fputs(deleted ? "*|" : " |", stdout);
            std::puts(recordLine(d).c_str());
        }
        rc = d4skip(d, 1);
    }
    if (rc != res4eof) return engineFailure("dbf-dump", "reading " + d->path, rc);
    return kExitOk;
}

ORV_CLI_COMMAND(
    "dbf-dump", "print the records of a table",
    "usage: orvsched-cli dbf-dump FILE [--deleted] [--tag NAME]\n\n"
    "Prints one line per active record, fields separated by '|', trailing blanks kept;\n"
    "in a value '\\' is written \\\\, '|' \\|, line breaks \\r and \\n, other control\n"
    "characters \\xHH.\n"
    "--deleted  also print deleted records; every line then starts with '*|' for a\n"
    "           deleted record or ' |' for an active one\n"
    "--tag NAME print in the order of that index tag\n",
    runDbfDump);

// dbf-create

int runDbfCreate(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {"field", "tag"}, {})) return usage("dbf-create", args.error());
    if (args.positional().size() != 1) return usage("dbf-create", "expected one table file");
    Field4info fields;
    for (const auto& spec : args.values("field")) {
        auto colon = spec.rfind(':');
        if (colon == std::string::npos || colon == 0)
            return usage("dbf-create", "field must be NAME:WIDTH: " + spec);
        int width = std::atoi(spec.c_str() + colon + 1);
        if (width < 1 || width > 254) return usage("dbf-create", "width must be 1 to 254: " + spec);
        fields.add(spec.substr(0, colon), 'C', width);
    }
    if (fields.entries().empty()) return usage("dbf-create", "at least one --field is needed");
    Tag4info tags;
    for (const auto& spec : args.values("tag")) {
        std::vector<std::string> parts;
        std::stringstream ss(spec);
        std::string part;
        while (std::getline(ss, part, ':'))
            parts.push_back(part);
        if (parts.size() < 2 || parts.size() > 4)
            return usage("dbf-create", "tag must be NAME:KEYEXPR[:FILTER][:unique]: " + spec);
        bool unique = false;
        if (parts.size() >= 3 && parts.back() == "unique") {
            unique = true;
            parts.pop_back();
        }
        std::string filter = parts.size() == 3 ? parts[2] : "";
        tags.add(parts[0], parts[1], filter, unique ? res4unique : 0, 0);
    }
    Code4 code;
    initToolContext(code);
    Data4* d = d4create(&code, args.positional()[0], fields, tags.empty() ? nullptr : &tags);
    if (!d) {
        int why = code.errorCode != 0 ? code.errorCode : code.lastOpenError;
        return engineFailure("dbf-create", "cannot create " + args.positional()[0], why);
    }
    std::printf("created %s\n", d->path.c_str());
    return kExitOk;
}

ORV_CLI_COMMAND("dbf-create", "create a table of character fields",
                "usage: orvsched-cli dbf-create FILE --field NAME:WIDTH ... "
                "[--tag NAME:KEYEXPR[:FILTER][:unique]] ...\n\n"
                "Creates FILE (.dbf added when no extension is given) with character fields and,\n"
                "when tags are given, its production index. Example:\n"
                "  orvsched-cli dbf-create Rooms --field NAME:20 --field SIZE:3 \\\n"
                "      --tag NAMETAG:NAME:.NOT. DELETED():unique\n",
                runDbfCreate);

// dbf-append

int runDbfAppend(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage("dbf-append", args.error());
    if (args.positional().size() != 1) return usage("dbf-append", "expected one table file");
    Code4 code;
    initToolContext(code);
    Data4* d = openTable(code, "dbf-append", args.positional()[0]);
    if (!d) return kExitFailure;
    for (Tag4* t = d4tagNext(d, nullptr); t; t = d4tagNext(d, t))
        if (t->uniqueTag) t4uniqueSet(t, res4unique);
    std::string line;
    long lineNo = 0, added = 0, refused = 0;
    while (std::getline(std::cin, line)) {
        ++lineNo;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::vector<std::string> unstorable;
        utf8ToCp1252(line, &unstorable);
        if (!unstorable.empty()) {
            // Nothing is stored in place of a character the table cannot hold.
            std::cerr << "orvsched-cli dbf-append: line " << lineNo << ": "
                      << unstorableMessage("the line", unstorable) << "\n";
            ++refused;
            continue;
        }
        const std::vector<std::string> values = splitValues(line);
        d4appendStart(d, 0);
        d4blank(d);
        for (int i = 1; i <= d4numFields(d) && i <= static_cast<int>(values.size()); ++i)
            f4assign(d4fieldJ(d, i), values[static_cast<std::size_t>(i - 1)]);
        int rc = d4append(d);
        if (rc == res4success) {
            rc = d4flush(d);
            ++added;
        } else {
            ++refused;
            std::printf("line %ld: %s\n", lineNo, describeResult(rc).c_str());
        }
        d4unlock(d);
        if (rc < 0) {
            engineFailure("dbf-append", "line " + std::to_string(lineNo), rc);
            return added > 0 ? kExitPartial : kExitFailure;
        }
    }
    std::fprintf(stderr, "%ld appended, %ld refused\n", added, refused);
    return partStatus(static_cast<std::size_t>(added), static_cast<std::size_t>(added + refused));
}

ORV_CLI_COMMAND(
    "dbf-append", "append records read from standard input",
    "usage: orvsched-cli dbf-append FILE < records\n\n"
    "Reads one record per line, fields separated by '|' and escaped as dbf-dump writes\n"
    "them, and appends each the way the\n"
    "program does (append start, blank, assign, append, flush, unlock). Unique tags\n"
    "refuse duplicate keys; the result code of every refused line is printed.\n\n"
    "Exit status: 0 every line appended, 1 none, 2 bad usage, 3 some lines appended\n"
    "and others refused.\n",
    runDbfAppend);

// dbf-delete

int runDbfDelete(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage("dbf-delete", args.error());
    if (args.positional().size() < 2)
        return usage("dbf-delete", "expected a table file and record numbers");
    std::vector<long> records;
    for (std::size_t i = 1; i < args.positional().size(); ++i) {
        char* end = nullptr;
        long r = std::strtol(args.positional()[i].c_str(), &end, 10);
        if (!end || *end || r < 1)
            return usage("dbf-delete", "not a record number: " + args.positional()[i]);
        records.push_back(r);
    }
    Code4 code;
    initToolContext(code);
    Data4* d = openTable(code, "dbf-delete", args.positional()[0]);
    if (!d) return kExitFailure;
    std::size_t deleted = 0;
    for (long r : records) {
        int rc = d4go(d, r);
        if (rc == 0) rc = d4delete(d);
        if (rc == 0) rc = d4flush(d);
        d4unlock(d);
        if (rc != 0) {
            engineFailure("dbf-delete", "record " + std::to_string(r), rc);
            return deleted > 0 ? kExitPartial : kExitFailure;
        }
        ++deleted;
    }
    return kExitOk;
}

ORV_CLI_COMMAND("dbf-delete", "mark records deleted",
                "usage: orvsched-cli dbf-delete FILE RECNO...\n\n"
                "Marks the records deleted (they stay in the file until it is packed), in the\n"
                "order given; the first that cannot be deleted stops the command.\n\n"
                "Exit status: 0 all deleted, 1 none, 2 bad usage, 3 the ones before a failure\n"
                "deleted.\n",
                runDbfDelete);

// index-check

int runIndexCheck(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage("index-check", args.error());
    if (args.positional().size() != 1) return usage("index-check", "expected one table file");
    Code4 code;
    initToolContext(code);
    code.readOnly = 1;
    Data4* d = openTable(code, "index-check", args.positional()[0]);
    if (!d) return kExitFailure;
    std::vector<long long> counts;
    std::string problem;
    int rc = d4check(d, &counts, &problem);
    if (rc != 0)
        return fail("index-check", (problem.empty() ? describeResult(rc) : problem) +
                                       "; repair it with: orvsched-cli reindex " + d->path);
    std::printf("ok");
    int i = 0;
    for (Tag4* t = d4tagNext(d, nullptr); t; t = d4tagNext(d, t))
        std::printf(" %s=%lld", t->name.c_str(), counts[static_cast<std::size_t>(i++)]);
    std::printf("\n");
    return kExitOk;
}

ORV_CLI_COMMAND(
    "index-check", "verify every index tag against its data file",
    "usage: orvsched-cli index-check FILE\n\n"
    "Checks each tag: page structure, key order, every key equal to the key computed\n"
    "from its record, the filter, uniqueness, and every record that passes the filter\n"
    "present once. Prints 'ok' with each tag's key count, or the first problem and the\n"
    "reindex command that repairs it (exit 1).\n",
    runIndexCheck);

// reindex

int runReindex(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage("reindex", args.error());
    if (args.positional().size() != 1) return usage("reindex", "expected one table file");
    Code4 code;
    initToolContext(code);
    Data4* d = openTable(code, "reindex", args.positional()[0]);
    if (!d) return kExitFailure;
    if (d->tags.empty()) return fail("reindex", d->path + " has no index");
    int rc = d4reindex(d);
    if (rc != 0) return engineFailure("reindex", d->path, rc);
    rc = d4close(d);
    if (rc != 0) return engineFailure("reindex", d->path, rc);
    std::printf("reindexed\n");
    return kExitOk;
}

ORV_CLI_COMMAND("reindex", "rebuild every index tag of a table",
                "usage: orvsched-cli reindex FILE\n\n"
                "Rebuilds every tag of the table's production index from its data file.\n",
                runReindex);

// pack

int runPack(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage("pack", args.error());
    if (args.positional().size() != 1) return usage("pack", "expected one table file");
    Code4 code;
    initToolContext(code);
    code.openShareMode = 1;
    Data4* d = openTable(code, "pack", args.positional()[0]);
    if (!d) return kExitFailure;
    Tag4* t = d4tagDefault(d);
    d4tagSelect(d, t);
    if (t && t->uniqueTag) t4uniqueSet(t, res4unique);
    int rc = d4lockAll(d);
    long before = d4recCount(d);
    if (rc == 0) rc = d4pack(d);
    long after = d4recCount(d);
    int cr = d4close(d);
    if (rc == 0) rc = cr;
    if (rc != 0) return engineFailure("pack", args.positional()[0], rc);
    std::printf("packed: %ld records kept, %ld removed\n", after, before - after);
    return kExitOk;
}

ORV_CLI_COMMAND("pack", "remove deleted records for good",
                "usage: orvsched-cli pack FILE\n\n"
                "Opens the table exclusively (nobody else may have it open), removes the records\n"
                "marked deleted and rebuilds its index tags.\n",
                runPack);

// seek

int runSeek(const std::vector<std::string>& argv) {
    CliArgs args;
    if (!args.parse(argv, {}, {})) return usage("seek", args.error());
    if (args.positional().size() != 3) return usage("seek", "expected FILE TAG TEXT");
    Code4 code;
    initToolContext(code);
    code.readOnly = 1;
    Data4* d = openTable(code, "seek", args.positional()[0]);
    if (!d) return kExitFailure;
    Tag4* t = d4tag(d, args.positional()[1]);
    if (!t) return fail("seek", "no tag " + args.positional()[1] + " in " + d->path);
    d4tagSelect(d, t);
    int rc = d4seek(d, utf8ToCp1252(args.positional()[2]));
    if (rc < 0) return engineFailure("seek", d->path, rc);
    std::printf("result: %s\n", describeResult(rc).c_str());
    if (rc == res4success || rc == res4after)
        std::printf("record %ld: %s\n", d4recNo(d), recordLine(d).c_str());
    return kExitOk;
}

ORV_CLI_COMMAND(
    "seek", "find a key in an index tag",
    "usage: orvsched-cli seek FILE TAG TEXT\n\n"
    "Seeks TEXT in the tag (a shorter text finds the first key that begins with it) and\n"
    "prints the result code and the record found.\n",
    runSeek);

} // namespace ORV_UNITY_ID
} // namespace orv::cli
