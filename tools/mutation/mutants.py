"""Makes the mutants of one C++ source file.

A mutant is one small, realistic mistake on one line: a flipped or shifted
comparison, an off-by-one literal, a swapped logical operator, a dropped
early return, a negated condition, a removed statement. Comments, string
and character literals, asserts and preprocessor lines are left alone.
The list of a file's mutants depends only on its text, so a seeded sample of
it can be reproduced.
"""

import re
from dataclasses import dataclass


@dataclass(frozen=True)
class Mutant:
    path: str        # relative to the repository root
    line: int        # 1-based
    kind: str
    original: str    # the line as written, stripped
    mutated: str     # the line as mutated, stripped ("" when removed)

    def key(self):
        return f"{self.path}:{self.line}:{self.kind}:{self.mutated}"

    def describe(self):
        """How tests/MUTANTS.md names the mutant: the mutated line, or for a
        removed statement "- " and the line removed."""
        return "- " + self.original if self.mutated == ";" else self.mutated


def mask_code(text):
    """Returns the text with comments, string and character literals blanked
    out (same length, newlines kept), so operators are searched in code only."""
    out = list(text)
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            for k in range(i, j):
                out[k] = " "
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            for k in range(i, j):
                if text[k] != "\n":
                    out[k] = " "
            i = j
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not (text[i - 1].isalnum() or text[i - 1] == '_')):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            if not m:
                i += 1
                continue
            end = text.find(")" + m.group(1) + '"', i)
            j = n if end < 0 else end + len(m.group(1)) + 2
            for k in range(i, j):
                if text[k] != "\n":
                    out[k] = " "
            i = j
        elif c in "\"'":
            # A quote right after a digit is a digit separator (1'000).
            if c == "'" and i > 0 and text[i - 1].isalnum() and not re.search(r"(?<![\w])(u8|u|U|L)$", text[max(0, i - 3):i]):
                i += 1
                continue
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            for k in range(i, j):
                if text[k] != "\n":
                    out[k] = " "
            i = j
        else:
            i += 1
    return "".join(out)


# Lines never mutated: checks that only fire in debug builds, static checks,
# logging and the preprocessor.
SKIP_LINE = re.compile(r"^\s*#|\bassert\s*\(|static_assert|\bDebugStr\b|\bfprintf\s*\(\s*stderr|\bstd::cerr\b")

# Binary operators are only taken with a space on both sides, which tells a
# comparison from a template bracket or a shift.
SWAPS = [
    ("rel", r"(?<=\s)<(?=\s)", ["<="]),
    ("rel", r"(?<=\s)<=(?=\s)", ["<"]),
    ("rel", r"(?<=\s)>(?=\s)", [">="]),
    ("rel", r"(?<=\s)>=(?=\s)", [">"]),
    ("eq", r"(?<=\s)==(?=\s)", ["!="]),
    ("eq", r"(?<=\s)!=(?=\s)", ["=="]),
    ("logic", r"(?<=\s)&&(?=\s)", ["||"]),
    ("logic", r"(?<=\s)\|\|(?=\s)", ["&&"]),
    ("arith", r"(?<=\s)\+ 1\b", ["- 1"]),
    ("arith", r"(?<=\s)- 1\b", ["+ 1"]),
    ("bool", r"\btrue\b", ["false"]),
    ("bool", r"\bfalse\b", ["true"]),
]

INT_LITERAL = re.compile(r"(?<![\w.'])(\d+)([uU]?[lL]{0,2}[uU]?)(?![\w.'])")
IF_HEAD = re.compile(r"\b(if|while)\s*\(")
EARLY_RETURN = re.compile(r"\bif\s*\(.*\)\s*(return\b[^;]*;)")
BARE_RETURN = re.compile(r"^\s*return\b[^;]*;\s*$")
# A statement on its own line: a call, an assignment or an increment.
CALL_STMT = re.compile(r"^\s*(::)?[A-Za-z_][\w:]*(\s*(\.|->)\s*[A-Za-z_]\w*|\[[^\]]*\])*\s*\(.*\)\s*;\s*$")
ASSIGN_STMT = re.compile(r"^\s*\*?[A-Za-z_][\w]*(\s*(\.|->)\s*[A-Za-z_]\w*|\[[^\]]*\])*\s*([-+|&^]|<<|>>)?=[^=].*;\s*$")
INCR_STMT = re.compile(r"^\s*(\+\+|--)?[A-Za-z_][\w.\->\[\]]*(\+\+|--)?\s*;\s*$")
KEYWORD_START = re.compile(r"^\s*(return|if|else|for|while|do|case|default|using|typedef|throw|co_return|break|continue|goto)\b")


def _matching_paren(masked, open_at):
    depth = 0
    for k in range(open_at, len(masked)):
        if masked[k] == "(":
            depth += 1
        elif masked[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return -1


def line_mutants(path, number, line, masked, prev_masked):
    """The mutants of one line; masked is the line with comments and
    literals blanked, prev_masked the previous code line."""
    found = []
    code = masked.strip()
    if not code or SKIP_LINE.search(line) or SKIP_LINE.search(masked):
        return found

    def add(kind, start, end, replacement):
        mutated = line[:start] + replacement + line[end:]
        if mutated.strip() != line.strip():
            found.append(Mutant(path, number, kind, line.strip(), mutated.strip()))

    for kind, pattern, replacements in SWAPS:
        for m in re.finditer(pattern, masked):
            for r in replacements:
                add(kind, m.start(), m.end(), r)

    # Integer literals: one off either way, and 0 <-> 1. Literals inside
    # array sizes and enums count too: a compile error just drops the mutant.
    if not re.match(r"^\s*(enum|template)\b", masked):
        for m in INT_LITERAL.finditer(masked):
            value = int(m.group(1))
            suffix = m.group(2)
            if m.group(1).startswith("0") and len(m.group(1)) > 1:
                continue  # octal
            choices = {value + 1}
            if value > 0:
                choices.add(value - 1)
            for v in sorted(choices):
                add("const", m.start(), m.end(), f"{v}{suffix}")

    # Negated conditions.
    for m in IF_HEAD.finditer(masked):
        open_at = m.end() - 1
        close_at = _matching_paren(masked, open_at)
        if close_at > 0:
            inner = line[open_at + 1:close_at]
            if ";" in masked[open_at:close_at]:
                continue
            add("negate", open_at, close_at + 1, f"(!({inner}))")

    # Dropped early returns: "if (bad) return err;" keeps going.
    m = EARLY_RETURN.search(masked)
    if m:
        add("return", m.start(1), m.end(1), ";")
    elif BARE_RETURN.match(masked) and prev_masked is not None and \
            re.search(r"\b(if|else)\b", prev_masked) and not prev_masked.rstrip().endswith(";"):
        add("return", 0, len(line), re.match(r"\s*", line).group(0) + ";")

    # Removed statements: a call (a flush, a close, a free...), an assignment
    # or an increment on its own line.
    if not KEYWORD_START.match(masked) and not masked.rstrip().endswith(("{", ",", "(")):
        if CALL_STMT.match(masked) or ASSIGN_STMT.match(masked) or INCR_STMT.match(masked):
            # A declaration ("Type name = ...") is not a statement to drop.
            head = masked.split("=")[0] if "=" in masked and not CALL_STMT.match(masked) else ""
            if not re.search(r"[\w>&*]\s+[A-Za-z_]\w*\s*$", head.strip() and head or ""):
                add("remove", 0, len(line), re.match(r"\s*", line).group(0) + ";")
    return found


def file_mutants(path, text):
    masked_text = mask_code(text)
    lines = text.split("\n")
    masked_lines = masked_text.split("\n")
    result = []
    prev = None
    for i, (line, masked) in enumerate(zip(lines, masked_lines)):
        result.extend(line_mutants(path, i + 1, line, masked, prev))
        if masked.strip():
            prev = masked
    return result


def apply(text, mutant):
    """The text of the file with the mutant planted."""
    lines = text.split("\n")
    line = lines[mutant.line - 1]
    if line.strip() != mutant.original:
        raise ValueError(f"{mutant.path}:{mutant.line} no longer reads as expected")
    indent = re.match(r"\s*", line).group(0)
    lines[mutant.line - 1] = indent + mutant.mutated
    return "\n".join(lines)
