#include "ui/RunVesk.h"

#include "ui/TVeskApplication.h"
#include "ui/TfrmVeskIn.h"

int RunVesk(int& argc, char** argv, const std::function<void()>& shown) {
    TVeskApplication application(argc, argv);
    TfrmVeskIn frmVeskIn;
    frmVeskIn.show();
    if (shown)
        shown();
    return application.exec();
}
