// A child process in which some system calls fail with a chosen error, as
// on older kernels or under a container's seccomp profile: fallocate
// refused with EOPNOTSUPP, openat2 missing (ENOSYS).
#pragma once

#include "real_files.h"

#include <cerrno>
#include <cstddef>
#include <initializer_list>
#include <linux/audit.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <sys/prctl.h>
#include <sys/syscall.h>
#include <vector>

#ifndef SYS_openat2
#define SYS_openat2 437
#endif

struct TRefusedCall {
    long Number; // SYS_...
    int Error;   // what the call then fails with
};

// In the calling process, for good: each listed call fails with its error
// without reaching the kernel. False where filters cannot be installed.
inline bool RefuseCalls(std::initializer_list<TRefusedCall> calls) {
#if defined(__x86_64__)
    constexpr unsigned Arch = AUDIT_ARCH_X86_64;
#elif defined(__aarch64__)
    constexpr unsigned Arch = AUDIT_ARCH_AARCH64;
#else
    return false;
#endif
    std::vector<sock_filter> filter{
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, arch)),
        BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, Arch, 1, 0),
        BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW),
        BPF_STMT(BPF_LD | BPF_W | BPF_ABS, offsetof(seccomp_data, nr)),
    };
    for (const TRefusedCall& call : calls) {
        filter.push_back(BPF_JUMP(BPF_JMP | BPF_JEQ | BPF_K, unsigned(call.Number), 0, 1));
        filter.push_back(BPF_STMT(BPF_RET | BPF_K,
                                  SECCOMP_RET_ERRNO | (unsigned(call.Error) & SECCOMP_RET_DATA)));
    }
    filter.push_back(BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_ALLOW));
    const sock_fprog program{static_cast<unsigned short>(filter.size()), filter.data()};
    return ::prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0) == 0 &&
           ::prctl(PR_SET_SECCOMP, SECCOMP_MODE_FILTER, &program) == 0;
}

// Runs body in a child process with the calls refused; its text comes back.
inline std::optional<QString> WithCallsRefused(std::initializer_list<TRefusedCall> calls,
                                               const std::function<QString()>& body) {
    const std::vector<TRefusedCall> list(calls);
    return InChild(
        [list] {
            // An initializer_list cannot be rebuilt from a vector: install one by one.
            for (const TRefusedCall& call : list)
                if (!RefuseCalls({call})) return false;
            return true;
        },
        body);
}
