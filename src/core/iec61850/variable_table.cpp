// placeholder: replaced by the subsystem's code
namespace mirandel {}
