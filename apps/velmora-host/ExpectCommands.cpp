// The expect and answer verbs: store rows, host items, the last message box, the dialog in
// view; answers queue the buttons a user will press in the next message boxes.
#include "ExpectCommands.h"

#include "platform/ado/Recordset.h"

namespace velmora::app {

namespace {

// "A => B" splits into A and B; both are required.
std::pair<std::string, std::string> splitArrow(const Words& w, std::size_t from) {
    const std::string text = w.rest(from);
    const auto arrow = text.find(" => ");
    if (arrow == std::string::npos)
        throw std::runtime_error("usage: expect " + w[1] + " ... => EXPECTED");
    return {text.substr(0, arrow), text.substr(arrow + 4)};
}

void require(bool ok, const std::string& what, const std::string& expected,
             const std::string& found) {
    if (!ok)
        throw std::runtime_error("expectation failed: " + what + "\n  expected: " + expected +
                                 "\n  found:    " + found);
}

} // namespace

// Rows joined by ", ", the columns of a row by "|"; "(none)" when there is no row.
std::string ExpectCommands::queryText(const std::string& sql) {
    ado::Recordset rs;
    rs.Open(sql, store_.connection());
    std::string text;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        if (!text.empty()) text += ", ";
        for (int c = 0; c < rs.FieldCount(); ++c)
            text += (c ? "|" : "") + rs.Fields(c).Value().text();
    }
    return text.empty() ? "(none)" : text;
}

void ExpectCommands::install(CommandTable& table) {
    table.add("expect",
              "expect sql STATEMENT => ROWS | count FOLDER FILTER => N | message TEXT | "
              "no-message | dialog TEXT | control CONTROL TEXT | no-dialog | window TITLE",
              2, [this](const Words& w) {
                  const std::string& what = w[1];
                  if (what == "sql") {
                      const auto [sql, expected] = splitArrow(w, 2);
                      const std::string found = queryText(sql);
                      return require(found == expected, sql, expected, found);
                  }
                  if (what == "count") {
                      if (w.size() < 3)
                          throw std::runtime_error("usage: expect count FOLDER FILTER => N");
                      const auto [filter, expected] = splitArrow(w, 3);
                      const auto found = std::to_string(
                          host_.folderByPath(w[2])->Items()->Restrict(filter)->Count());
                      return require(found == expected, filter, expected, found);
                  }
                  // Message expectations look at the boxes shown since the previous one.
                  if (what == "message" || what == "no-message") {
                      const auto& shown = ctx_.messages.shown;
                      const bool any = shown.size() > ctx_.checkedMessages;
                      const std::string found = any ? shown.back().text : "(none)";
                      ctx_.checkedMessages = shown.size();
                      const std::string expected =
                          what == "message" ? joinFrom(w, 2) : std::string("(none)");
                      return require(found == expected, "last message box", expected, found);
                  }
                  if (what == "no-dialog")
                      return require(ctx_.forms.empty(), "no dialog", "(none)",
                                     ctx_.forms.empty() ? "" : ctx_.forms.back()->Name());
                  if (what == "window") {
                      const std::string title = joinFrom(w, 2);
                      return require(ctx_.windows.FindWindow(title), "window", title, "(none)");
                  }
                  if (what == "dialog" || what == "control") {
                      const bool whole = what == "dialog";
                      if (!whole && w.size() < 4)
                          throw std::runtime_error("usage: expect control CONTROL TEXT");
                      const std::string expected = joinFrom(w, whole ? 2 : 3);
                      controls::Control* target = &ctx_.currentForm();
                      if (!whole) {
                          target = ctx_.currentForm().find(w[2]);
                          if (!target) throw std::runtime_error("No control " + w[2]);
                      }
                      const std::string found = target->describe();
                      return require(found.find(expected) != std::string::npos,
                                     target->Name() + " shows", expected, found);
                  }
                  throw std::runtime_error("Unknown expectation \"" + what + "\"");
              });
    table.add("answer", "answer yes|no|ok|cancel...", 2, [this](const Words& w) {
        for (std::size_t i = 1; i < w.size(); ++i) {
            const std::string& a = w[i];
            ctx_.messages.answers.push_back(a == "yes"  ? windows::vbYes
                                            : a == "no" ? windows::vbNo
                                            : a == "ok" ? windows::vbOK
                                                        : windows::vbCancel);
        }
    });
}

} // namespace velmora::app
