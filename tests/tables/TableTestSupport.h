#pragma once
// What the record-layer tests share: a quiet engine context, reservations and people made in
// one call, reading a table's records as bytes, and starting a helper program as a real second
// process.

#include "common/Bytes.h"
#include "storage/Data4.h"
#include "tables/CPeople.h"
#include "tables/CSchedule.h"

#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace orv::test {

// An initialised engine context whose errors are returned, not printed.
struct QuietCode {
    Code4 code;
    QuietCode() {
        code4init(&code);
        code.silentErrors = 1;
    }
};

struct Reservation {
    int year = 2024, month = 3, day = 15;
    std::string item = "Boardroom";
    int startHour = 9, startMinute = 0, endHour = 10, endMinute = 0;
    std::string lastName = "Smith", firstName = "John", middleInitial = "Q", department = "Sales";
    std::string note;
    int flags = 0;
};

inline int addReservation(CSchedule& schedule, const Reservation& r) {
    schedule.clearImage();
    CScheduleRecord& image = schedule.image();
    image.setDate(r.month, r.day, r.year);
    image.setItemName(r.item);
    image.setStartTime(r.startHour, r.startMinute);
    image.setEndTime(r.endHour, r.endMinute);
    image.setPerson(r.firstName, r.middleInitial, r.lastName, r.department);
    image.setNote(r.note);
    image.setMade(3, 1, 2024, 8, 0, 0);
    image.setFlags(r.flags);
    return schedule.append();
}

inline int addPerson(CPeople& people, const std::string& first, const std::string& mi,
                     const std::string& last, const std::string& department, int flags,
                     const std::string& phone = "") {
    people.clearImage();
    people.image().setName(first, mi, last);
    people.image().setDepartment(department);
    people.image().setPhone(phone);
    people.image().setFlags(flags);
    return people.append();
}

// The bytes of record `number` (1-based), deletion flag first, read from the file itself.
inline std::string recordBytes(const std::string& dbfPath, long number) {
    const std::vector<std::uint8_t> b = readBytes(dbfPath);
    if (b.size() < 32) return {};
    const std::size_t headerLength = le16At(b, 8);
    const std::size_t recordLength = le16At(b, 10);
    const std::size_t at = headerLength + static_cast<std::size_t>(number - 1) * recordLength;
    if (at + recordLength > b.size()) return {};
    return std::string(b.begin() + static_cast<long>(at),
                       b.begin() + static_cast<long>(at + recordLength));
}

inline long recordCountInHeader(const std::string& dbfPath) {
    const std::vector<std::uint8_t> b = readBytes(dbfPath);
    return b.size() < 8 ? -1 : static_cast<long>(le32At(b, 4));
}

inline std::string padded(const std::string& text, std::size_t width) {
    std::string out = text.substr(0, width);
    out.append(width - out.size(), ' ');
    return out;
}

// A helper program from ORV_HELPER_DIR, its standard input and output on pipes.
class HelperProcess {
public:
    HelperProcess() = default;
    HelperProcess(const HelperProcess&) = delete;
    HelperProcess& operator=(const HelperProcess&) = delete;
    ~HelperProcess() {
        closeInput();
        if (m_pid > 0) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) ::close(m_out);
    }

    bool start(const std::string& name, const std::vector<std::string>& args) {
        const std::string program = std::string(ORV_HELPER_DIR) + "/" + name;
        int in[2], out[2];
        if (::pipe(in) != 0) return false;
        if (::pipe(out) != 0) return false;
        m_pid = ::fork();
        if (m_pid < 0) return false;
        if (m_pid == 0) {
            ::dup2(in[0], 0);
            ::dup2(out[1], 1);
            ::close(in[0]);
            ::close(in[1]);
            ::close(out[0]);
            ::close(out[1]);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>(program.c_str()));
            for (const auto& a : args)
                argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(program.c_str(), argv.data());
            ::_exit(127);
        }
        ::close(in[0]);
        ::close(out[1]);
        m_in = in[1];
        m_out = out[0];
        return true;
    }

    // One line of the helper's output, without the line break; empty at its end.
    std::string readLine() {
        std::string line;
        char c;
        while (::read(m_out, &c, 1) == 1) {
            if (c == '\n') break;
            line += c;
        }
        return line;
    }

    // Closing the helper's input tells a waiting helper to finish.
    void closeInput() {
        if (m_in >= 0) ::close(m_in);
        m_in = -1;
    }

    bool running() {
        if (m_pid <= 0) return false;
        int status = 0;
        const pid_t r = ::waitpid(m_pid, &status, WNOHANG);
        if (r == m_pid) {
            m_pid = -1;
            m_status = status;
            return false;
        }
        return true;
    }

    // The helper's exit code, or -1 when it did not exit normally.
    int wait() {
        if (m_pid > 0) {
            ::waitpid(m_pid, &m_status, 0);
            m_pid = -1;
        }
        return WIFEXITED(m_status) ? WEXITSTATUS(m_status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_in = -1;
    int m_out = -1;
    int m_status = 0;
};

} // namespace orv::test
