#pragma once

class TVeskDairy;

// Puts the animal that the window starts with into the model's inputs: a lactating cow of 450 kg
// in her second lactation. Freshenning, the estimate and the records keep their values.
void SetDefaultAnimal(TVeskDairy& model);
