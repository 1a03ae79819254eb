#pragma once

#include <functional>
#include <memory>
#include <vector>

namespace tockwell {

/// A form that is created when it is first needed and kept from then on, so that a start
/// pays only for the windows it shows.
template <typename Form> class LazyForm
{
public:
    using Factory = std::function<std::unique_ptr<Form>()>;

    explicit LazyForm(Factory make) : m_make(std::move(make)) {}
    LazyForm(const LazyForm &) = delete;
    LazyForm &operator=(const LazyForm &) = delete;

    /// The form, created now if it does not exist yet; `whenCreated` hooks run once then.
    Form &get()
    {
        if (!m_form) {
            m_form = m_make();
            for (const auto &hook : m_whenCreated)
                hook(*m_form);
        }
        return *m_form;
    }
    Form *operator->() { return &get(); }

    /// The form when it exists, else nullptr.
    Form *created() const { return m_form.get(); }

    /// Runs `hook` on the form when it is created, or now when it exists already.
    void whenCreated(std::function<void(Form &)> hook)
    {
        if (m_form)
            hook(*m_form);
        m_whenCreated.push_back(std::move(hook));
    }

private:
    Factory m_make;
    std::vector<std::function<void(Form &)>> m_whenCreated;
    std::unique_ptr<Form> m_form;
};

} // namespace tockwell
