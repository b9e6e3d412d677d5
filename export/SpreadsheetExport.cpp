#include "export/SpreadsheetExport.h"

#include "db/TIBCustomDataSet.h"
#include "util/Exceptions.h"
#include "util/NumberText.h"
#include "util/SystemReason.h"
#include "util/Utf8Text.h"

#include <xlsxwriter.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>
#include <vector>

namespace {

// What one sheet holds.
constexpr lxw_row_t kMaxRows = 1048576;
constexpr int kMaxColumns = 16384;
constexpr int kMaxCellText = 32767;

std::string quoted(const std::string& fileName) {
    return "'" + fileName + "'";
}

[[noreturn]] void fileError(const std::string& fileName, const std::string& reason) {
    throw EInOutError("N\xE3o foi poss\xEDvel gravar o arquivo " + quoted(fileName) + ": " + reason + ".");
}

std::string systemReason(int error) {
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "a pasta n\xE3o existe";
    case EACCES:
    case EPERM:
    case EROFS:
        return "sem permiss\xE3o de escrita";
    default:
        return SystemReason(error);
    }
}

std::string writerReason(lxw_error error) {
    switch (error) {
    case LXW_ERROR_MEMORY_MALLOC_FAILED:
        return "mem\xF3ria insuficiente";
    case LXW_ERROR_CREATING_XLSX_FILE:
        return "o arquivo n\xE3o p\xF4"
               "de ser criado";
    case LXW_ERROR_CREATING_TMPFILE:
    case LXW_ERROR_READING_TMPFILE:
        return "falha no arquivo tempor\xE1rio da planilha";
    case LXW_ERROR_ZIP_FILE_OPERATION:
    case LXW_ERROR_ZIP_PARAMETER_ERROR:
    case LXW_ERROR_ZIP_BAD_ZIP_FILE:
    case LXW_ERROR_ZIP_INTERNAL_ERROR:
    case LXW_ERROR_ZIP_FILE_ADD:
    case LXW_ERROR_ZIP_CLOSE:
        return "falha ao compactar a planilha (disco cheio?)";
    default:
        return "erro " + IntToStr(static_cast<int>(error)) + " da gera\xE7\xE3o da planilha";
    }
}

// The file being written, under a name of its own beside the target. Removed
// unless it was moved into place.
class TemporaryFile {
public:
    explicit TemporaryFile(const std::string& target, const std::string& fileName) {
        const std::filesystem::path path(target);
        const std::filesystem::path dir = path.has_parent_path() ? path.parent_path() : ".";
        for (int attempt = 0;; ++attempt) {
            path_ = (dir / ("." + path.filename().string() + "." + IntToStr(getpid()) + "-" +
                            IntToStr(attempt) + ".tmp"))
                        .string();
            // Exclusive, so a file of that name that is not ours is never reused.
            const int fd = ::open(path_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd >= 0) {
                ::close(fd);
                return;
            }
            if (errno != EEXIST || attempt == 100)
                fileError(fileName, systemReason(errno));
        }
    }
    ~TemporaryFile() {
        if (!path_.empty())
            std::remove(path_.c_str());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }
    void moveTo(const std::string& target, const std::string& fileName) {
        if (std::rename(path_.c_str(), target.c_str()) != 0)
            fileError(fileName, systemReason(errno));
        path_.clear();
    }

private:
    std::string path_;
};

// The workbook until it is closed; freed unsaved when the export fails.
class Workbook {
public:
    Workbook(const std::string& path, const std::string& fileName) {
        // Rows go to a temporary file as soon as the next row starts, so memory
        // does not grow with the number of records.
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        options.use_zip64 = LXW_TRUE;
        book_ = workbook_new_opt(path.c_str(), &options);
        if (book_)
            sheet_ = workbook_add_worksheet(book_, nullptr);
        if (!sheet_)
            fileError(fileName, writerReason(LXW_ERROR_MEMORY_MALLOC_FAILED));
        date_ = workbook_add_format(book_);
        dateTime_ = workbook_add_format(book_);
        format_set_num_format(date_, "dd/mm/yyyy");
        format_set_num_format(dateTime_, "dd/mm/yyyy hh:mm:ss");
    }
    ~Workbook() {
        if (book_)
            lxw_workbook_free(book_);
    }
    Workbook(const Workbook&) = delete;
    Workbook& operator=(const Workbook&) = delete;

    lxw_worksheet* sheet() const { return sheet_; }
    lxw_format* dateFormat() const { return date_; }
    lxw_format* dateTimeFormat() const { return dateTime_; }

    lxw_error close() {
        lxw_workbook* book = book_;
        book_ = nullptr; // closing frees it, whatever the outcome
        return workbook_close(book);
    }

private:
    lxw_workbook* book_ = nullptr;
    lxw_worksheet* sheet_ = nullptr;
    lxw_format* date_ = nullptr;
    lxw_format* dateTime_ = nullptr;
};

enum class CellKind { Number, Date, DateTime, Text };

CellKind kindOf(TFieldType type) {
    switch (type) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftAutoInc:
    case ftLargeint:
        return CellKind::Number;
    case ftDate:
        return CellKind::Date;
    case ftDateTime:
        return CellKind::DateTime;
    default:
        return CellKind::Text;
    }
}

// The program counts days from 30 December 1899; the spreadsheet's serial
// numbers count 29 February 1900, a day that never was, so they agree only
// from 1 March 1900 on. The zero date stays 0.
double spreadsheetSerial(double days) {
    if (days >= 1 && days < 61)
        return days - 1;
    return days;
}

// A NUL cannot stand in the sheet's XML; it gets the same escape that the
// writer gives the other control characters.
void appendCellText(std::string& out, const std::string& text) {
    out.clear();
    if (text.find('\0') == std::string::npos) {
        AppendAnsiAsUtf8(out, text);
        return;
    }
    std::string part;
    for (const char ch : text) {
        if (ch == '\0')
            out += "_x0000_";
        else {
            part.assign(1, ch);
            AppendAnsiAsUtf8(out, part);
        }
    }
}

class SheetWriter {
public:
    SheetWriter(Workbook& book, const std::string& fileName) : book_(book), fileName_(fileName) {}

    void text(lxw_row_t row, lxw_col_t column, const std::string& value, const TField* field) {
        appendCellText(buffer_, value);
        check(worksheet_write_string(book_.sheet(), row, column, buffer_.c_str(), nullptr), row, field);
    }
    void number(lxw_row_t row, lxw_col_t column, double value, lxw_format* format, const TField* field) {
        check(worksheet_write_number(book_.sheet(), row, column, value, format), row, field);
    }

private:
    void check(lxw_error error, lxw_row_t row, const TField* field) {
        if (error == LXW_NO_ERROR)
            return;
        if (error == LXW_ERROR_MAX_STRING_LENGTH_EXCEEDED && field)
            throw Exception("O campo '" + field->HeaderName() + "' do registro " +
                            IntToStr(static_cast<int>(row)) + " tem mais de " + IntToStr(kMaxCellText) +
                            " caracteres, o m\xE1ximo de uma c\xE9lula. O arquivo " + quoted(fileName_) +
                            " n\xE3o foi gravado.");
        fileError(fileName_, writerReason(error));
    }

    Workbook& book_;
    const std::string& fileName_;
    std::string buffer_;
};

} // namespace

bool IsSpreadsheetFileName(const std::string& name) {
    const std::string ending = std::string(".") + SpreadsheetExtension;
    return name.size() >= ending.size() &&
           name.compare(name.size() - ending.size(), ending.size(), ending) == 0;
}

void ExportToSpreadsheet(TIBCustomDataSet& dataSet, const std::string& fileName,
                         const std::function<void(std::int64_t)>& rowsDone) {
    // A closed dataset fails here, before any file exists.
    dataSet.First();

    const int fieldCount = dataSet.FieldCount();
    if (fieldCount > kMaxColumns)
        throw Exception("A planilha comporta no m\xE1ximo " + IntToStr(kMaxColumns) + " colunas; h\xE1 " +
                        IntToStr(fieldCount) + " campos. O arquivo " + quoted(fileName) +
                        " n\xE3o foi gravado.");
    std::vector<const TField*> fields;
    std::vector<CellKind> kinds;
    for (int j = 0; j < fieldCount; ++j) {
        fields.push_back(dataSet.FieldAt(j));
        kinds.push_back(kindOf(fields.back()->DataType()));
    }

    const std::string target = AnsiToUtf8(fileName);
    TemporaryFile file(target, fileName);
    Workbook book(file.path(), fileName);
    SheetWriter writer(book, fileName);

    for (int j = 0; j < fieldCount; ++j)
        writer.text(0, static_cast<lxw_col_t>(j), fields[j]->HeaderName(), nullptr);

    lxw_row_t row = 1;
    for (; !dataSet.Eof(); dataSet.Next(), ++row) {
        if (row == kMaxRows)
            throw Exception("A planilha comporta no m\xE1ximo " + IntToStr(static_cast<int>(kMaxRows - 1)) +
                            " registros abaixo do cabe\xE7"
                            "alho. O arquivo " +
                            quoted(fileName) + " n\xE3o foi gravado.");
        for (int j = 0; j < fieldCount; ++j) {
            const TField* field = fields[j];
            const auto column = static_cast<lxw_col_t>(j);
            switch (kinds[j]) {
            case CellKind::Number:
                writer.number(row, column, field->AsFloat(), nullptr, field);
                break;
            case CellKind::Date:
                writer.number(row, column, spreadsheetSerial(field->AsDateTime()), book.dateFormat(), field);
                break;
            case CellKind::DateTime:
                writer.number(row, column, spreadsheetSerial(field->AsDateTime()), book.dateTimeFormat(),
                              field);
                break;
            case CellKind::Text:
                writer.text(row, column, field->AsString(), field);
                break;
            }
        }
        if (rowsDone)
            rowsDone(row);
    }

    const lxw_error closed = book.close();
    if (closed != LXW_NO_ERROR)
        fileError(fileName, writerReason(closed));
    file.moveTo(target, fileName);
}
