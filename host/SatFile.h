#pragma once
// A SAT (ACIS text) file as the host's import checks it, in the layouts other programs write:
// a header of three lines (version, record count, body count and history flag; the product line;
// units and tolerances), perhaps a key line "T @N key", then records ended by '#', perhaps a
// history section ("Begin-of-ACIS-History-Data" ... "End-of-ACIS-History-Section", which the
// import does not carry), up to the end marker "End-of-ACIS-data" or "End-of-ASM-data". Records
// point to each other by index ("$N", "$-1" for none); a body and the records it reaches make one
// solid, the text a 3DSOLID carries. A file of the ASM format starts its records with an
// "asmheader" record, which belongs to every solid.
//
// Strings are "@N text" from version 700 on and "N text" before it. Older files cannot be read
// by their strings, so there a record's '#' is the one that ends its line; a '#' inside a line
// belongs to a string. A tab outside a string is white space like a blank. Lines end with LF or
// CR LF, or with CR alone where the first line does (see lines()).

#include <cstddef>
#include <string>
#include <vector>

namespace kxhost {

class SatFile {
public:
  // False with `error` for a malformed header, a byte that is no printable ASCII in what a solid
  // is made of, the header and the records up to a history section or the end marker (a 3DSOLID's
  // data cannot carry it; outside a string a tab is white space; what follows the end marker, a
  // DOS end-of-file byte or padding, and a history section are not looked at), no body, a body count that
  // disagrees with the header's (which counts the asmheader too in the ASM format), a file cut
  // short (a last record without its '#', a history section without its end, fewer records than
  // the header counts), a pointer to a record the file lacks, a body whose records reach another
  // body (a solid is one body), or a file older than version 700 whose records cannot be told
  // apart (a '#' inside a line that no string holds, a record that starts with no type name).
  bool parse(const std::string& text, std::string& error);

  int version() const { return version_; }
  int bodyCount() const { return static_cast<int>(bodies_.size()); }
  // The file's lines, line ends removed, as they are in the file. A line ends with LF, a CR
  // before it dropped; in a file whose first line ends with a CR alone, a CR, a CR LF pair or
  // a LF each end a line. Elsewhere a CR is a byte of its line.
  const std::vector<std::string>& lines() const { return lines_; }

  // The SAT text of body b (0-based, in file order) alone, line by line: the header for one body
  // (its record count; one body, or two top-level records with the asmheader; history flag 0, as
  // a solid carries no history) with the file's product, units and key lines, the asmheader and
  // the records the body reaches in file order and renumbered from 0 (pointers and "-N" record
  // numbers), each with the line breaks it had and every tab written as a blank, then the file's
  // end marker when it has one. Linear in the size of the records reached (it uses scratch space
  // of this object).
  std::vector<std::string> bodyLines(int b);

private:
  struct Number {        // a "$N" pointer or a "-N" record number within the record text
    std::size_t at = 0;  // offset of the digits (after '$' or '-') in records_
    std::size_t length = 0;
    long value = 0;      // -1 for none; beyond any record when the digits are too many
    bool pointer = true;
  };
  struct Record {
    std::size_t begin = 0, end = 0;  // its text in records_, whole lines where it has them
    std::size_t firstNumber = 0, numberCount = 0;  // its entries in numbers_, in text order
    int body = -1;                   // which body it is, -1 for a record of another type
  };
  // Splits records_ into records; false with `error` (see parse).
  bool readRecords(std::string& error);
  // The records body b reaches (itself and the asmheader's included), in file order.
  std::vector<std::size_t> reach(int b);
  // The file's line number (from 1) of an offset in records_.
  std::size_t lineAt(std::size_t offset) const;
  // Before version 700 strings are "N text", from it on "@N text".
  bool oldStrings() const { return version_ < 700; }
  // Before version 700: marks in held_ the bytes that a counted string "N text" could hold.
  void markHeldBytes();

  int version_ = 0;
  bool asm_ = false;                 // the first record is the ASM format's asmheader
  std::string endMarker_;            // the file's end marker, empty when it has none
  std::vector<std::string> lines_;
  std::vector<std::string> header_;  // product, units and key line, tabs written as blanks
  std::size_t firstLine_ = 3;        // index in lines_ of the first line of records_
  std::string records_;              // the lines after the header, each ended by '\n'
  std::vector<char> held_;           // before version 700: per byte of records_, whether a
                                     // counted string could hold it
  std::vector<Record> recordList_;
  std::size_t historyRecords_ = 0;   // records of the history section, which no solid carries
  std::vector<Number> numbers_;
  std::vector<std::size_t> bodies_;  // record index of each body
  std::vector<std::size_t> visit_;   // per record: the last walk of reach that came to it
  std::size_t walks_ = 0;
  std::vector<long> newIndex_;       // per record: its index in that solid
};

// The offset of the first byte of text that a 3DSOLID's data cannot carry, or npos: the data is
// kept as printable ASCII (32..126) in the drawing file, so any other byte would be lost.
std::size_t firstUncarriedByte(const std::string& text);

}  // namespace kxhost
