// COM ownership: a counted interface pointer and the two per-thread
// initialisation scopes. Each use that needs COM opens its own scope.
#pragma once

#include <objbase.h>
#include <ole2.h>

#include <utility>

namespace fw {

// Holds one reference; Release on reset or destruction.
template <class T>
class ComPtr {
public:
    ComPtr() = default;
    ComPtr(std::nullptr_t) {}
    // Takes a new reference of its own.
    explicit ComPtr(T* pointer) : pointer_(pointer) {
        if (pointer_ != nullptr) {
            pointer_->AddRef();
        }
    }
    ~ComPtr() { Reset(); }

    ComPtr(const ComPtr& other) : ComPtr(other.pointer_) {}
    ComPtr& operator=(const ComPtr& other) {
        if (this != &other) {
            ComPtr copy(other);
            Swap(copy);
        }
        return *this;
    }
    ComPtr(ComPtr&& other) noexcept : pointer_(std::exchange(other.pointer_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            Reset();
            pointer_ = std::exchange(other.pointer_, nullptr);
        }
        return *this;
    }

    T* Get() const { return pointer_; }
    T* operator->() const { return pointer_; }
    explicit operator bool() const { return pointer_ != nullptr; }

    void Reset() {
        if (pointer_ != nullptr) {
            std::exchange(pointer_, nullptr)->Release();
        }
    }
    // Takes over a reference the caller already owns (no AddRef).
    void Attach(T* pointer) {
        Reset();
        pointer_ = pointer;
    }
    [[nodiscard]] T* Detach() { return std::exchange(pointer_, nullptr); }
    // For creation functions that return the interface through a pointer.
    T** Receive() {
        Reset();
        return &pointer_;
    }
    void Swap(ComPtr& other) noexcept { std::swap(pointer_, other.pointer_); }

    // QueryInterface into another smart pointer.
    template <class U>
    HRESULT As(ComPtr<U>& other) const {
        if (pointer_ == nullptr) {
            return E_POINTER;
        }
        return pointer_->QueryInterface(__uuidof(U), reinterpret_cast<void**>(other.Receive()));
    }

private:
    T* pointer_ = nullptr;
};

// CoInitializeEx for a scope; CoUninitialize only when it succeeded
// (S_FALSE included: that call still counts).
class ComInit {
public:
    explicit ComInit(DWORD flags = COINIT_APARTMENTTHREADED) : result_(CoInitializeEx(nullptr, flags)) {}
    ~ComInit() {
        if (SUCCEEDED(result_)) {
            CoUninitialize();
        }
    }
    ComInit(const ComInit&) = delete;
    ComInit& operator=(const ComInit&) = delete;

    bool Succeeded() const { return SUCCEEDED(result_); }
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

// OleInitialize for a scope (drag and drop, clipboard, hosted controls).
class OleInit {
public:
    OleInit() : result_(OleInitialize(nullptr)) {}
    ~OleInit() {
        if (SUCCEEDED(result_)) {
            OleUninitialize();
        }
    }
    OleInit(const OleInit&) = delete;
    OleInit& operator=(const OleInit&) = delete;

    bool Succeeded() const { return SUCCEEDED(result_); }
    HRESULT Result() const { return result_; }

private:
    HRESULT result_;
};

}  // namespace fw
